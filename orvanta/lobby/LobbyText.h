#pragma once
// Text helpers of the lobby: the chat box's bounded text and the cleaning of typed texts before
// they go into a payload.

#include <platform/strings.h>

// The most the waiting room's chat box keeps.
inline constexpr int kChatBoxLimit = 32767;

// The chat box's text after line is added: a text already over the limit first loses its oldest
// lines until it and the line fit.
CString AppendChatText(const CString& current, const CString& line);
// The chat box line of an incoming chat payload: "[" speaker "]" text CR LF; "" for an empty one.
CString FormatChatLine(const CString& payload);
// text without "|" and "/", the separators of payloads and records.
CString RemoveSeparators(const CString& text);
// The leading decimal number of text (0 without one).
int LeadingNumber(const CString& text);
// The leading decimal number of a text from the server, held to the range of int.
int ClampedNumber(const CString& text);
// The decimal text of ClampedNumber(text) + step, held to the range of int.
CString SteppedNumberText(const CString& text, int step);
// At most maxBytes bytes of a Korean code page text, never ending inside a double-byte character.
CString CutCp949(const CString& text, int maxBytes);
