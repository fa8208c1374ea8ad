// Loading the scene file into the model library, with the progress line and the error messages on
// standard output. Status: 0 read to its end (or 50 objects read), 2 cannot be opened or could not
// be read to its end (a read error: "Error reading file!"), 3 an object was rejected while more of
// the file followed.
#pragma once

#include "model/model_library.h"

class TextLineReader;

// Opens fileName (an existing regular file; a directory cannot be opened) and fills the global
// modelLibrary.
int LoadModelFile(const char* fileName);

// The loop behind LoadModelFile, on an open stream and any library, which it clears first.
// Does not close the stream.
int LoadModelStream(TextLineReader& stream, ModelLibrary& library);
