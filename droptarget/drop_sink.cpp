#include "drop_sink.h"

#include "drop_data.h"

#include <shlguid.h>

#include <optional>

namespace droptarget {

namespace {

constexpr DWORD kLinkKeys = MK_CONTROL | MK_SHIFT;
constexpr DWORD kNoEffect = DROPEFFECT_NONE;
// Without Ctrl or Shift, the first of these that the source offers.
constexpr DWORD kPreferredEffects[] = {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK};

FORMATETC FormatRequest(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject& data, CLIPFORMAT format) {
    FORMATETC request = FormatRequest(format);
    return data.QueryGetData(&request) == S_OK;
}

// Asks for the format and hands its global block to `read`; the medium is released on every
// path once `read` has returned. None when the object cannot deliver the format.
template <typename Read>
auto ReadFormat(IDataObject& data, CLIPFORMAT format, Read read) -> decltype(read(HGLOBAL{})) {
    FORMATETC request = FormatRequest(format);
    STGMEDIUM raw{};
    if (FAILED(data.GetData(&request, &raw))) {
        return std::nullopt;
    }
    const win32::StgMedium medium(raw);
    if (!medium.global()) {
        return std::nullopt;
    }
    return read(medium.global());
}

bool Delivers(IDataObject& data, CLIPFORMAT format) {
    return ReadFormat(data, format, [](HGLOBAL) { return std::optional<bool>(true); }).has_value();
}

std::optional<std::string> ReadText(IDataObject& data, CLIPFORMAT format) {
    return ReadFormat(data, format, ReadTextBlock);
}

std::optional<std::string> ReadHtml(IDataObject& data, CLIPFORMAT format) {
    return ReadFormat(data, format, [](HGLOBAL block) -> std::optional<std::string> {
        auto text = ReadTextBlock(block);
        if (!text) {
            return std::nullopt;
        }
        return ConvertHtmlText(*text);
    });
}

std::optional<std::string> ReadFiles(IDataObject& data) {
    // The data object is valid only until Drop returns, so the names are copied out first.
    auto names = ReadFormat(data, CF_HDROP, ReadDroppedFileNames);
    if (!names) {
        return std::nullopt;
    }
    return JoinFileNames(*names);
}

CLIPFORMAT RegisterFormat(const char* name) {
    // Clipboard formats are 16-bit values in a FORMATETC.
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(name));
}

POINT ToPoint(POINTL point) {
    return POINT{point.x, point.y};
}

} // namespace

DWORD ApplyEffectRule(bool accepted, DWORD key_state, DWORD offered) {
    const auto offer = [offered](DWORD effect) { return (offered & effect) ? effect : kNoEffect; };
    if (!accepted || (key_state & kLinkKeys) == kLinkKeys) {
        return DROPEFFECT_NONE;
    }
    if (key_state & MK_CONTROL) {
        return offer(DROPEFFECT_COPY);
    }
    if (key_state & MK_SHIFT) {
        return offer(DROPEFFECT_MOVE);
    }
    for (const DWORD effect : kPreferredEffects) {
        if (offered & effect) {
            return effect;
        }
    }
    return kNoEffect;
}

DropSink::DropSink(DropTargetOwner& owner, const AcceptFlags& accept,
                   win32::ComPtr<IDropTargetHelper> helper)
    : helper_(std::move(helper)), url_format_(RegisterFormat("UniformResourceLocator")),
      html_format_(RegisterFormat("HTML Format")), accept_(accept), owner_(owner) {}

win32::ComPtr<IDropTargetHelper> DropSink::CreateDragImageHelper() {
    win32::ComPtr<IDropTargetHelper> helper;
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IDropTargetHelper, helper.put_void()))) {
        helper.reset();
    }
    return helper;
}

HRESULT DropSink::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DropSink::AddRef() {
    return ++references_;
}

ULONG DropSink::Release() {
    // The component's own reference keeps the count above zero; the sink is never freed here.
    if (references_ > 0) {
        --references_;
    }
    return references_;
}

HRESULT DropSink::DragEnter(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) {
        return E_INVALIDARG;
    }
    const DWORD offered = std::exchange(*effect, DROPEFFECT_NONE);
    accepted_ = false;
    if (!data) {
        return E_INVALIDARG;
    }
    try {
        if (helper_) {
            POINT at = ToPoint(point);
            helper_->DragEnter(window_, data, &at, offered);
        }
        accepted_ = CarriesEnabledKind(*data);
        *effect = ApplyEffectRule(accepted_, key_state, offered);
        return S_OK;
    } catch (...) {
        accepted_ = false;
        return E_UNEXPECTED;
    }
}

HRESULT DropSink::DragOver(DWORD key_state, POINTL point, DWORD* effect) {
    if (!effect) {
        return E_INVALIDARG;
    }
    const DWORD offered = std::exchange(*effect, DROPEFFECT_NONE);
    try {
        if (helper_) {
            POINT at = ToPoint(point);
            helper_->DragOver(&at, offered);
        }
        *effect = ApplyEffectRule(accepted_, key_state, offered);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT DropSink::DragLeave() {
    try {
        if (helper_) {
            helper_->DragLeave();
        }
    } catch (...) {
    }
    accepted_ = false;
    return S_OK;
}

HRESULT DropSink::Drop(IDataObject* data, DWORD key_state, POINTL point, DWORD* effect) {
    // E_FAIL in every case: a source that moved the files must not delete the originals.
    if (!effect) {
        return E_FAIL;
    }
    const DWORD offered = std::exchange(*effect, DROPEFFECT_NONE);
    const bool accepted = std::exchange(accepted_, false);
    if (!data) {
        return E_FAIL;
    }
    try {
        if (helper_) {
            POINT at = ToPoint(point);
            helper_->Drop(data, &at, offered);
        }
        *effect = ApplyEffectRule(accepted, key_state, offered);
        if (*effect != DROPEFFECT_NONE) {
            DeliverKinds(*data);
        }
    } catch (...) {
    }
    return E_FAIL;
}

bool DropSink::CarriesEnabledKind(IDataObject& data) const {
    return (accept_.AcceptText && Offers(data, CF_TEXT)) ||
           (accept_.AcceptFiles && Offers(data, CF_HDROP)) ||
           (accept_.AcceptUrl && Offers(data, url_format_)) ||
           (accept_.AcceptHtml && Offers(data, html_format_));
}

// Each text is read into a buffer of the event's own, freed when its handler has returned.
void DropSink::DeliverKinds(IDataObject& data) {
    // Text that comes together with HTML is not delivered as text.
    if (accept_.AcceptText && !Delivers(data, html_format_)) {
        if (const auto text = ReadText(data, CF_TEXT)) {
            Raise(&DropTargetOwner::TextReceived, *text);
        }
    }
    if (accept_.AcceptHtml) {
        if (const auto html = ReadHtml(data, html_format_)) {
            Raise(&DropTargetOwner::HtmlReceived, *html);
        }
    }
    if (accept_.AcceptUrl) {
        if (const auto url = ReadText(data, url_format_)) {
            Raise(&DropTargetOwner::UrlReceived, *url);
        }
    }
    if (accept_.AcceptFiles) {
        if (const auto files = ReadFiles(data)) {
            Raise(&DropTargetOwner::FilesReceived, *files);
        }
    }
}

void DropSink::Raise(Event event, const std::string& text) {
    (owner_.*event)(text.c_str());
}

} // namespace droptarget
