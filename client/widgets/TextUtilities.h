#pragma once
// Small text, time and file helpers shared by the viewer's windows and its configuration.

#include <cstdint>

#include "platform/strings.h"

class CFile;

// Reads one line of at most maxBytes bytes into buffer (which holds maxBytes bytes). A CR ends
// the line's text and reading goes on to the LF, which ends the line. Returns 1 for a line ended
// by LF, 0 at the end of the file or when maxBytes pass without an LF (the line is then unusable).
// Throws what the file's Read throws.
int ReadTextLine(CFile& file, char* buffer, int maxBytes);

// Reads "hhmmss": exactly six characters, each pair a decimal number (text that is not a number
// reads as 0; no range check). Returns 1, or 0 when the length is not six.
int ParseHhmmss(const char* text, int* hours, int* minutes, int* seconds);

// Wall time of the platform clock in whole seconds.
std::int64_t GetNowSeconds();

// Upper- and lower-case length bytes of text in place (negative length: up to the NUL).
void StrUpper(char* text, int length);
void StrLower(char* text, int length);

// Copies a user-interface text into out; every caption set at run time passes through here.
int LoadUiText(const char* literal, CString& out);

// A message box with only an OK button; returns the box's result.
int ShowMessage(const char* text);
