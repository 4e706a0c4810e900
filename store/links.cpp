#include "store/links.h"

#include <new>

#include "core/bar_state.h"
#include "core/layout.h"
#include "render/picture_cache.h"
#include "shell/shell.h"
#include "store/text_file.h"
#include "store/text_ops.h"

namespace {

const std::wstring LinksFileName = L"Links.txt";
// Written whole beside the links file, then put in its place in one step.
const std::wstring NewLinksFileName = L"Links.txt.tmp";

bool IsSlot(int32_t slot) { return slot >= 0 && slot < static_cast<int32_t>(bar.slots.size()); }

// A slot lives on exactly one line of the links file, so its path can hold no line end.
bool IsStorablePath(const std::wstring& path) {
    return path.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
}

IconHandle IconFor(const std::wstring& path) {
    if (IconHandle large = LookupIcon(path, 1)) return large;
    return LookupIcon(path, 0);
}

// Everything after the first "=", so that a path holding "=" loads back whole.
std::wstring LinkValueOf(std::wstring line) {
    const size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) return L"";
    line.erase(0, equals + 1);
    return Trimmed(line);
}

// Where the file part of a path begins, and how long it is.
struct NameSpan {
    size_t begin = 0;
    size_t length = 0;
};

NameSpan FilePartSpan(const std::wstring& path) {
    const size_t first = !path.empty() && path.front() == L'"' ? 1 : 0;
    const size_t separator = path.find_last_of(L"\\/");
    const size_t begin = separator == std::wstring::npos ? first : separator + 1;
    const size_t quote = path.find(L'"', begin);
    return {begin, (quote == std::wstring::npos ? path.size() : quote) - begin};
}

// A links file that is there but cannot be written (read-only, a folder, held by another program)
// is left as it is: replacing it would get round what its owner asked for.
bool LinksFileWritable() {
    if (!PathExists(LinksFileName)) return true;
    FileHandle probe = OpenDiskFile(LinksFileName, FileWriteShareRead);
    if (!probe) return false;
    CloseFile(probe);
    return true;
}

void WriteLinkLines(TextFile* file) {
    for (int32_t i = 0; i < static_cast<int32_t>(bar.slots.size()); ++i) {
        WriteTextLine(file, L"Link " + DecimalText(i) + L" = " + bar.slots[i].path);
    }
}

void ReadLinkLines(TextFile* file) {
    for (int32_t i = 0; i < static_cast<int32_t>(bar.slots.size()); ++i) {
        const std::wstring value = LinkValueOf(ReadTextLine(file));
        if (!value.empty()) SetLink(i, value, 0);
        if (AtFileEnd(file)) break;
    }
}

// The pictures painted from the icon go first: the desktop may reuse its handle for the next one.
void DropIcon(LinkSlot& slot) {
    ForgetIconPictures(slot.icon);
    ReleaseIcon(slot.icon);
    slot.icon = nullptr;
}

bool Inside(const LinkSlot& slot, int32_t x, int32_t y) {
    return slot.x < x && x < slot.x + slot.width && slot.y < y && y < slot.y + slot.height;
}

}  // namespace

void SetLink(int32_t slot, const std::wstring& path, int32_t save) {
    if (!IsSlot(slot) || !IsStorablePath(path)) return;
    // Everything new is made before the slot changes: should memory run out on the way, the slot
    // stays as it was, its old icon included.
    std::wstring copy = path;
    std::wstring label = LabelOf(copy);
    const IconHandle icon = IconFor(copy);
    LinkSlot& target = bar.slots[slot];
    target.used = 1;
    target.path.swap(copy);
    target.label.swap(label);
    DropIcon(target);
    target.icon = icon;
    if (save) SaveLinks();
}

void ClearLink(int32_t slot, int32_t save) {
    if (!IsSlot(slot)) return;
    LinkSlot& target = bar.slots[slot];
    target.used = 0;
    target.path.clear();
    target.label.clear();
    DropIcon(target);
    if (save) SaveLinks();
}

void SaveLinks() {
    // A file that could not be read whole holds pins the slots do not know; writing the slots
    // over it would lose them.
    if (bar.linksFileUnread || !LinksFileWritable()) return;
    TextFile* file = CreateTextFile(NewLinksFileName);
    if (!file) return;
    bool written = false;
    try {
        WriteLinkLines(file);
        written = WriteOutTextFile(file);
    } catch (const std::bad_alloc&) {
        // A path too long to convert: this save is given up like one that failed to write.
    }
    CloseTextFile(file);
    // Whatever went wrong, the old links file stays byte for byte and no half-written file is left.
    if (!written || !ReplaceFileWith(LinksFileName, NewLinksFileName)) RemoveFile(NewLinksFileName);
}

void LoadLinks() {
    TextFile* file = OpenTextFile(LinksFileName);
    if (!file) {
        // There but unreadable (no access, not a file, a failing disk): its pins are unknown.
        bar.linksFileUnread = PathExists(LinksFileName) ? 1 : 0;
        return;
    }
    try {
        ReadLinkLines(file);
    } catch (const std::bad_alloc&) {
        // A line too long to hold ends the reading; the slots filled so far keep their links.
        file->failed = true;
    }
    bar.linksFileUnread = file->failed ? 1 : 0;
    CloseTextFile(file);
}

void ReleaseLinkIcons() {
    for (LinkSlot& slot : bar.slots) DropIcon(slot);
}

int32_t HandleDropOf(int32_t mouseX, int32_t mouseY, const std::vector<std::wstring>& paths) {
    // Only the first path of a drop is pinned: one slot holds one link.
    if (paths.empty() || paths.front().empty() || !IsStorablePath(paths.front())) return -1;
    const int32_t x = BarCoordinate(mouseX, bar.barX);
    const int32_t y = BarCoordinate(mouseY, bar.barY);
    for (int32_t i = 0; i < static_cast<int32_t>(bar.slots.size()); ++i) {
        if (!Inside(bar.slots[i], x, y)) continue;
        SetLink(i, paths.front(), 1);
        return i;
    }
    return -1;
}

int32_t HandleDrop(int32_t mouseX, int32_t mouseY) { return HandleDropOf(mouseX, mouseY, DroppedFiles()); }

std::wstring JoinedByLineFeed(const std::vector<std::wstring>& paths) {
    std::wstring text;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i > 0) text += L'\n';
        text += paths[i];
    }
    return text;
}

std::wstring DroppedFilesText() { return JoinedByLineFeed(DroppedFiles()); }

std::wstring FilePart(const std::wstring& path) {
    const NameSpan name = FilePartSpan(path);
    return path.substr(name.begin, name.length);
}

std::wstring LabelOf(const std::wstring& path) {
    NameSpan name = FilePartSpan(path);
    if (name.length > LongestLabel) {
        name.begin += (name.length - LongestLabel) / 2;
        name.length = LongestLabel;
    }
    return path.substr(name.begin, name.length);
}
