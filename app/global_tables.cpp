// The three tables that live for the whole run. Defined together so that they are constructed in
// this order (parts, meshes, textures) and destroyed in the reverse order at exit.
#include "model/model_library.h"
#include "motion/part_table.h"
#include "render/texture_set.h"

PartTable partTable;
ModelLibrary modelLibrary;
TextureSet textureSet;
