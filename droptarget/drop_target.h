// DropTarget: makes a window an OLE drop target and raises one event per kind of dropped data
// (text, HTML, URL, file list) on its owner.
//
//     auto target = droptarget::DropTarget::Create({.AcceptFiles = true}, parent,
//                                                  {24, 120, 48, 40}, owner);
//     target->RegisterDropWindow(parent);
//
// The component lives in a hidden child window of `parent`. When the parent's windows are
// destroyed, the drop registration is revoked with them; the object itself is freed by the
// code that created it, which must keep it until then (or free it earlier, which revokes too).
#pragma once

#include "drop_events.h"
#include "drop_sink.h"
#include "win32_owners.h"

#include <memory>

namespace droptarget {

// Position and size of the component window in the parent's client area.
struct ComponentRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class DropTarget {
    struct Key {};

public:
    // None when the component window cannot be created. OLE must be initialised on this
    // thread for the drag-image helper and for RegisterDropWindow.
    static std::unique_ptr<DropTarget> Create(const AcceptFlags& accept, HWND parent,
                                              const ComponentRect& rect, DropTargetOwner& owner);

    DropTarget(Key, const AcceptFlags& accept, DropTargetOwner& owner);
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;
    ~DropTarget();

    // Makes `window` an OLE drop target for this component. Only the first call can succeed:
    // its window stays recorded even when the registration fails, and later calls return false.
    bool RegisterDropWindow(HWND window);

    // The flags are read by each drag as it comes.
    const AcceptFlags& accept() const { return sink_.accept(); }
    void set_accept(const AcceptFlags& accept) { sink_.set_accept(accept); }

    // The component window, null once it has been destroyed.
    HWND window() const { return window_.get(); }
    // The object OLE calls; its own reference stays with the component.
    IDropTarget* sink() { return &sink_; }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam);
    bool CreateComponentWindow(HWND parent, const ComponentRect& rect);
    void Revoke();

    DropSink sink_;
    // Declared after the sink: it goes first, and its destruction revokes the registration.
    win32::UniqueWindow window_;
    HWND registered_window_ = nullptr;
    bool registered_ = false;
};

} // namespace droptarget
