// Failures that would be shown in a message box captioned "Error" on a desktop platform.
// Here they are one line on standard error: "Error: " then the text (a trailing line end of the
// text is not doubled).
#pragma once

void ShowErrorMessage(const char* text);
