// What a drop target takes and whom it tells.
#pragma once

namespace droptarget {

// The kinds of data a drop target accepts; a drag of no accepted kind is refused.
struct AcceptFlags {
    bool AcceptText = false;  // CF_TEXT
    bool AcceptHtml = false;  // "HTML Format"
    bool AcceptUrl = false;   // "UniformResourceLocator"
    bool AcceptFiles = false; // CF_HDROP
};

// Receives a drop target's events, synchronously inside the drop. Each text is the event's
// own copy and is freed when the handler returns: a handler that keeps it copies it.
class DropTargetOwner {
public:
    virtual void TextReceived(const char* text);
    virtual void HtmlReceived(const char* text);
    virtual void UrlReceived(const char* text);
    // One name alone, or every name followed by CR LF when several were dropped.
    virtual void FilesReceived(const char* text);

protected:
    DropTargetOwner() = default;
    DropTargetOwner(const DropTargetOwner&) = default;
    DropTargetOwner& operator=(const DropTargetOwner&) = default;
    ~DropTargetOwner() = default;
};

} // namespace droptarget
