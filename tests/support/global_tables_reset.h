// Puts the program's global part and model tables back to their constructed state, so that tests
// using them start from what start-up would find. Display lists are deleted while a context is
// current, as at process exit.
#pragma once

#include <new>

#include "model/model_library.h"
#include "motion/part_table.h"

inline void ResetPartTable() { partTable.~PartTable(), new (&partTable) PartTable(); }
inline void ResetModelLibrary() { modelLibrary.~ModelLibrary(), new (&modelLibrary) ModelLibrary(); }
