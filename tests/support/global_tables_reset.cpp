// Reconstruction of the global tables between tests.
#include "support/global_tables_reset.h"

#include <new>

#include "model/model_library.h"
#include "motion/part_table.h"

void ResetPartTable() {
  partTable.~PartTable();
  new (&partTable) PartTable();
}

void ResetModelLibrary() {
  modelLibrary.~ModelLibrary();
  new (&modelLibrary) ModelLibrary();
}
