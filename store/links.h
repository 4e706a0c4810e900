// The link slots and "Links.txt".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

void SetLink(int32_t slot, const std::wstring& path, int32_t save);
void ClearLink(int32_t slot, int32_t save);
void SaveLinks();
void LoadLinks();
// Gives every slot's icon back to the desktop and forgets it. The program never needs this: its
// icons live until the process ends. Hosts that run the bar and then drop or reuse its state
// (the headless runner, tests, fuzzers) call it so that no icon outlives its slot unreleased.
void ReleaseLinkIcons();

// Pins the dropped file on the slot under the pointer; the slot's number, or -1.
int32_t HandleDrop(int32_t mouseX, int32_t mouseY);
// HandleDrop with the drop's paths given: the first path goes to the slot strictly containing the
// pointer (desktop coordinates); no path, an empty first path or no such slot gives -1.
int32_t HandleDropOf(int32_t mouseX, int32_t mouseY, const std::vector<std::wstring>& paths);
// The paths of the drop being handled, joined by LF.
std::wstring DroppedFilesText();
std::wstring JoinedByLineFeed(const std::vector<std::wstring>& paths);

// The file-name part of a path: after the last slash or backslash, up to a double quote.
std::wstring FilePart(const std::wstring& path);

// A slot's label: the file part of its path. A name longer than LongestLabel characters, far
// wider than any bar, is cut to its middle LongestLabel characters, the part a centred label
// shows, so that hovering the slot neither copies nor paints all of it on every pass.
constexpr size_t LongestLabel = 4096;
std::wstring LabelOf(const std::wstring& path);

// A links file open for line-by-line reading or writing through a 4096-byte buffer.
struct TextFile;
void WriteTextLine(TextFile* file, const std::wstring& text);
std::wstring ReadTextLine(TextFile* file);
bool AtFileEnd(TextFile* file);
