// The IDropTarget that OLE calls for a registered window: it decides the drag's effect and,
// on a drop, raises one event per enabled kind of data on the owner.
#pragma once

#include "drop_events.h"
#include "win32_owners.h"

#include <shlobj.h>

#include <string>

namespace droptarget {

// The effect to answer, given the keys held and the effects the drag source offers.
DWORD ApplyEffectRule(bool accepted, DWORD key_state, DWORD offered);

// COM interfaces have no virtual destructor by design; the sink is never deleted through one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class DropSink final : public IDropTarget {
public:
    // The sink holds one reference of its own from the start, which is never given back:
    // the component that contains it frees it, never OLE.
    DropSink(DropTargetOwner& owner, const AcceptFlags& accept,
             win32::ComPtr<IDropTargetHelper> helper);
    DropSink(const DropSink&) = delete;
    DropSink& operator=(const DropSink&) = delete;
    ~DropSink() = default;

    // The shell's drag-image helper, or none when it cannot be created.
    static win32::ComPtr<IDropTargetHelper> CreateDragImageHelper();

    const AcceptFlags& accept() const { return accept_; }
    void set_accept(const AcceptFlags& accept) { accept_ = accept; }
    // The window handed to the drag-image helper.
    void set_window(HWND window) { window_ = window; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD key_state, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD key_state, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD key_state, POINTL point,
                                   DWORD* effect) override;

private:
    using Event = void (DropTargetOwner::*)(const char* text);

    bool CarriesEnabledKind(IDataObject& data) const;
    void DeliverKinds(IDataObject& data);
    void Raise(Event event, const std::string& text);

    ULONG references_ = 1;
    bool accepted_ = false;
    win32::ComPtr<IDropTargetHelper> helper_;
    CLIPFORMAT url_format_;
    CLIPFORMAT html_format_;
    AcceptFlags accept_;
    DropTargetOwner& owner_;
    HWND window_ = nullptr;
};
#pragma GCC diagnostic pop

} // namespace droptarget
