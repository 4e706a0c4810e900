// edgeway-drop-files.exe PATH...
//
// Drops each path in turn, as a one-entry file list (CF_HDROP), on whatever window is under the
// pointer, through OLE's own DoDragDrop: the window's registered drop target sees DragEnter,
// DragOver and Drop exactly as it does when a file manager drags onto it, only without the
// seconds that a drag across the X server takes. The source allows copy and link and lets the
// target choose. Prints "dropped link", "dropped copy" or "refused" for each path and exits 0
// when every drop was taken with the link effect.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The DROPFILES block of a list holding the one path, wide characters, double-zero ended.
HGLOBAL FileListOf(const std::wstring& path) {
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* head = block ? static_cast<DROPFILES*>(GlobalLock(block)) : nullptr;
    if (!head) return block;
    head->pFiles = sizeof(DROPFILES);
    head->fWide = TRUE;
    std::memcpy(head + 1, path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

bool IsFileList(const FORMATETC* format) {
    return format && format->cfFormat == CF_HDROP && format->dwAspect == DVASPECT_CONTENT &&
           (format->tymed & TYMED_HGLOBAL);
}

// Both objects live on main's stack for the whole drag, so reference counts answer COM only.
struct DroppedPath final : IDataObject {
    std::wstring path;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!IsFileList(format)) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = FileListOf(path);
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return IsFileList(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

// Lets the drag enter and hover over the target for a few of OLE's polls, then releases it there,
// as a hand that holds still over the slot for a moment before letting go.
struct SteadyHand final : IDropSource {
    int polls = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropSource) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return ++polls < 3 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

const char* Outcome(HRESULT result, DWORD effect) {
    if (result != DRAGDROP_S_DROP || effect == DROPEFFECT_NONE) return "refused";
    return effect & DROPEFFECT_LINK ? "dropped link" : "dropped copy";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: edgeway-drop-files PATH...\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 1;
    int linked = 0;
    for (int i = 1; i < argc; ++i) {
        DroppedPath data;
        data.path = argv[i];
        SteadyHand hand;
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT result = DoDragDrop(&data, &hand, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
        const char* outcome = Outcome(result, effect);
        std::printf("%s\n", outcome);
        std::fflush(stdout);
        if (std::strcmp(outcome, "dropped link") == 0) ++linked;
        // The target takes the drop in its next pass; one drop per pass is what a user manages.
        Sleep(100);
    }
    OleUninitialize();
    return linked == argc - 1 ? 0 : 1;
}
