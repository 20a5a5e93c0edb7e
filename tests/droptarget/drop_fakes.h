// Test doubles for the drop target: a data object of our own that offers fixed blocks of
// global memory, a drag-image helper and an owner that log what they are asked.
#pragma once

#include "drop_events.h"

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// COM interfaces have no virtual destructor; these objects are never deleted through one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace droptarget::testing {

using Log = std::vector<std::string>;

inline CLIPFORMAT HtmlFormat() {
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("HTML Format"));
}
inline CLIPFORMAT UrlFormat() {
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("UniformResourceLocator"));
}

// The bytes of a DROPFILES block: the header, the names each ended by a NUL, an empty name.
inline std::string DropFilesBlock(const std::vector<std::string>& names, DWORD files_at = 20) {
    DROPFILES header{};
    header.pFiles = files_at;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.resize(files_at, '\0');
    for (const std::string& name : names) {
        block += name;
        block += '\0';
    }
    block += '\0';
    return block;
}

inline std::string WideDropFilesBlock(const std::vector<std::wstring>& names) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::wstring list;
    for (const std::wstring& name : names) {
        list += name;
        list += L'\0';
    }
    list += L'\0';
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
    return block;
}

// COM objects on the test's stack: counted, never freed through Release.
template <typename Interface> class StackObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
};

// The owner of one block handed out by GetData: ReleaseStgMedium releases it through
// pUnkForRelease, which tells whether the block was still locked then.
class MediumRelease final : public StackObject<IUnknown> {
public:
    explicit MediumRelease(HGLOBAL block) : block_(block) {}
    ULONG STDMETHODCALLTYPE Release() override {
        if (--references == 0) {
            locked_at_release = (::GlobalFlags(block_) & GMEM_LOCKCOUNT) != 0;
            ::GlobalFree(block_);
            released = true;
        }
        return references;
    }
    bool released = false;
    bool locked_at_release = false;

private:
    HGLOBAL block_;
};

class FakeDataObject final : public StackObject<IDataObject> {
public:
    explicit FakeDataObject(Log& log) : log_(log) {}

    // `slack` bytes of 'x' follow the block's end in memory before it is cut to its size, so
    // that a reader that goes past the end finds no NUL there.
    void Offer(CLIPFORMAT format, std::string bytes, std::size_t slack = 0) {
        offers_[format] = Block{std::move(bytes), slack};
    }

    // Every medium handed out has been released, with its block unlocked.
    bool AllMediaReleased() const {
        for (const auto& medium : media_) {
            if (!medium->released || medium->locked_at_release) {
                return false;
            }
        }
        return true;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        log_.push_back("GetData " + std::to_string(format->cfFormat));
        const auto offer = Find(*format);
        if (offer == offers_.end()) {
            return DV_E_FORMATETC;
        }
        const HGLOBAL block = MakeBlock(offer->second);
        if (!block) {
            return E_OUTOFMEMORY;
        }
        media_.push_back(std::make_unique<MediumRelease>(block));
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = media_.back().get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        log_.push_back("QueryGetData " + std::to_string(format->cfFormat));
        return Find(*format) != offers_.end() ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override {
        *out = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    struct Block {
        std::string bytes;
        std::size_t slack = 0;
    };

    // Only the request the drop target is meant to make is served.
    std::map<CLIPFORMAT, Block>::const_iterator Find(const FORMATETC& format) const {
        const bool plain = format.ptd == nullptr && format.dwAspect == DVASPECT_CONTENT &&
                           format.lindex == -1 && format.tymed == TYMED_HGLOBAL;
        return plain ? offers_.find(format.cfFormat) : offers_.end();
    }

    static HGLOBAL MakeBlock(const Block& block) {
        const std::size_t size = block.bytes.size();
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size + block.slack);
        if (!memory) {
            return nullptr;
        }
        void* data = ::GlobalLock(memory);
        std::memset(data, 'x', size + block.slack);
        std::memcpy(data, block.bytes.data(), size);
        ::GlobalUnlock(memory);
        if (block.slack == 0) {
            return memory;
        }
        HGLOBAL cut = ::GlobalReAlloc(memory, size, GMEM_MOVEABLE);
        if (!cut) {
            ::GlobalFree(memory);
        }
        return cut;
    }

    Log& log_;
    std::map<CLIPFORMAT, Block> offers_;
    std::vector<std::unique_ptr<MediumRelease>> media_;
};

class FakeHelper final : public StackObject<IDropTargetHelper> {
public:
    explicit FakeHelper(Log& log) : log_(log) {}

    HRESULT STDMETHODCALLTYPE DragEnter(HWND window, IDataObject*, POINT*, DWORD effect) override {
        log_.push_back("helper DragEnter " + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                       " " + std::to_string(effect));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        log_.push_back("helper DragLeave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(POINT*, DWORD effect) override {
        log_.push_back("helper DragOver " + std::to_string(effect));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, POINT*, DWORD effect) override {
        log_.push_back("helper Drop " + std::to_string(effect));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Show(BOOL) override { return S_OK; }

private:
    Log& log_;
};

// A drop target that does nothing: it shows whether a window is free for a registration.
class IdleDropTarget final : public testing::StackObject<IDropTarget> {
public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
};

class RecordingOwner final : public DropTargetOwner {
public:
    explicit RecordingOwner(Log& log) : log_(log) {}
    void TextReceived(const char* text) override { log_.push_back(std::string("Text:") + text); }
    void HtmlReceived(const char* text) override { log_.push_back(std::string("Html:") + text); }
    void UrlReceived(const char* text) override { log_.push_back(std::string("Url:") + text); }
    void FilesReceived(const char* text) override { log_.push_back(std::string("Files:") + text); }

private:
    Log& log_;
};

} // namespace droptarget::testing

#pragma GCC diagnostic pop
