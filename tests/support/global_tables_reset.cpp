// Reconstruction of the global tables between tests.
#include "support/global_tables_reset.h"

#include <new>

#include "model/model_library.h"
#include "motion/part_table.h"

void ResetPartTable() {
  for (RigPart& part : partTable.parts) {
    part.~RigPart();
    new (&part) RigPart();
  }
  partTable.rootPart = 0;
}

void ResetModelLibrary() {
  for (MeshObject& mesh : modelLibrary.slots) {
    mesh.~MeshObject();
    new (&mesh) MeshObject();
  }
  modelLibrary.objectCount = 0;
}
