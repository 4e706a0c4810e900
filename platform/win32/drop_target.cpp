// The bar window as an OLE drop target: it takes file lists (CF_HDROP) and offers the link
// effect only, whatever modifier keys are held, over the whole window. A completed drop copies
// the list into a bar event; the main loop reads it later in the pass.
#include "platform/win32/win32_desktop.h"

#include <ole2.h>
#include <shellapi.h>

#include <cstring>

namespace {

FORMATETC FileListFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The copy of the DROPFILES block that the event carries, or null.
HGLOBAL CopyOfBlock(HGLOBAL block) {
    const SIZE_T size = GlobalSize(block);
    const void* from = size ? GlobalLock(block) : nullptr;
    if (!from) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (to) {
        std::memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(block);
    return copy;
}

HGLOBAL FileListOf(IDataObject* data) {
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return nullptr;
    HGLOBAL copy = medium.tymed == TYMED_HGLOBAL ? CopyOfBlock(medium.hGlobal) : nullptr;
    ReleaseStgMedium(&medium);
    return copy;
}

// The one drop target of the program. It lives as long as the program does, so the reference
// count only answers COM's questions.
struct BarDropTarget final : IDropTarget {
    bool offersFiles = false;

    DWORD Answer(DWORD allowed) const {
        return offersFiles && (allowed & DROPEFFECT_LINK) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format = FileListFormat();
        offersFiles = data && data->QueryGetData(&format) == S_OK;
        *effect = Answer(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Answer(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        offersFiles = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        *effect = Answer(*effect);
        offersFiles = false;
        if (*effect == DROPEFFECT_NONE) return S_OK;
        POINT point{at.x, at.y};
        ScreenToClient(desktop.bar.hwnd, &point);
        QueueDrop(FileListOf(data), point.x, point.y);
        return S_OK;
    }
};

BarDropTarget dropTarget;

}  // namespace

bool RegisterBarDropTarget(HWND bar) { return SUCCEEDED(RegisterDragDrop(bar, &dropTarget)); }

void RevokeBarDropTarget(HWND bar) { RevokeDragDrop(bar); }
