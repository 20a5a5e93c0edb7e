// The sink driven by OLE's calls with data objects of our own: the effect it answers, the
// events it raises and their texts, and the blocks it reads.
#include "drop_data.h"
#include "drop_fakes.h"
#include "drop_sink.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace droptarget {
namespace {

using testing::DropFilesBlock;
using testing::FakeDataObject;
using testing::FakeHelper;
using testing::HtmlFormat;
using testing::Log;
using testing::RecordingOwner;
using testing::UrlFormat;
using testing::WideDropFilesBlock;

constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
constexpr POINTL kPoint{10, 20};

enum class Kind { Text, Html, Url, Files };

CLIPFORMAT FormatOf(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return CF_TEXT;
    case Kind::Html:
        return HtmlFormat();
    case Kind::Url:
        return UrlFormat();
    case Kind::Files:
        return CF_HDROP;
    }
    return 0;
}

std::string Query(Kind kind) {
    return "QueryGetData " + std::to_string(FormatOf(kind));
}

constexpr AcceptFlags kFilesOnly{.AcceptFiles = true};
constexpr AcceptFlags kEverything{true, true, true, true};

struct Offer {
    Kind kind;
    std::string bytes;
    std::size_t slack = 0;
};

// One sink with a fresh owner, data object and log for each drag.
class SinkTest : public ::testing::Test {
protected:
    DropSink MakeSink(const AcceptFlags& accept) {
        return DropSink(owner, accept, win32::ComPtr<IDropTargetHelper>());
    }
    void Offer(const std::vector<struct Offer>& offers) {
        for (const auto& offer : offers) {
            data.Offer(FormatOf(offer.kind), offer.bytes, offer.slack);
        }
    }
    // DragEnter, DragOver and Drop as OLE makes them; the log then holds the events only.
    HRESULT DragAndDrop(DropSink& sink, DWORD keys = MK_LBUTTON, DWORD offered = kAll) {
        DWORD effect = offered;
        EXPECT_EQ(sink.DragEnter(&data, keys, kPoint, &effect), S_OK);
        effect = offered;
        EXPECT_EQ(sink.DragOver(keys, kPoint, &effect), S_OK);
        log.clear();
        effect = offered;
        return sink.Drop(&data, keys, kPoint, &effect);
    }
    Log Events() const {
        Log events = log;
        std::erase_if(events, [](const std::string& entry) {
            return entry.find("Data ") != std::string::npos;
        });
        return events;
    }
    void TearDown() override { EXPECT_TRUE(data.AllMediaReleased()); }

    Log log;
    RecordingOwner owner{log};
    FakeDataObject data{log};
};

TEST_F(SinkTest, AnswersOnlyItsOwnInterfaces) {
    DropSink sink = MakeSink(kFilesOnly);
    for (const IID& iid : {IID_IUnknown, IID_IDropTarget}) {
        void* object = nullptr;
        EXPECT_EQ(sink.QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<IDropTarget*>(&sink));
        EXPECT_EQ(sink.Release(), 1u);
    }
    for (const IID& iid : {IID_IDataObject, IID_IDropSource, IID_IDropTargetHelper,
                           IID_IClassFactory, IID_IDispatch}) {
        void* object = &sink;
        EXPECT_EQ(sink.QueryInterface(iid, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(sink.QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(SinkTest, CountsReferencesFromOneAndIsNeverFreedByRelease) {
    DropSink sink = MakeSink(kFilesOnly);
    EXPECT_EQ(sink.AddRef(), 2u);
    EXPECT_EQ(sink.AddRef(), 3u);
    EXPECT_EQ(sink.Release(), 2u);
    EXPECT_EQ(sink.Release(), 1u);
    // Released below its own reference, the sink stays usable: it belongs to its component.
    EXPECT_EQ(sink.Release(), 0u);
    EXPECT_EQ(sink.Release(), 0u);
    EXPECT_EQ(sink.AddRef(), 1u);
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\a.exe"}));
    EXPECT_EQ(DragAndDrop(sink), E_FAIL);
    EXPECT_EQ(Events(), Log{"Files:C:\\a.exe"});
}

struct EffectCase {
    DWORD keys;
    DWORD offered;
    bool accepted;
    DWORD expected;
};

TEST_F(SinkTest, AnswersTheEffectByKeysOfferAndAcceptance) {
    constexpr DWORD C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
    const EffectCase cases[] = {
        {0, kAll, true, C},
        {MK_LBUTTON, kAll, true, C},
        {MK_RBUTTON, M | L, true, M},
        {0, L, true, L},
        {0, DROPEFFECT_NONE, true, DROPEFFECT_NONE},
        {0, DROPEFFECT_SCROLL | M, true, M},
        {MK_CONTROL, kAll, true, C},
        {MK_CONTROL | MK_LBUTTON, M | L, true, DROPEFFECT_NONE},
        {MK_SHIFT, kAll, true, M},
        {MK_SHIFT | MK_LBUTTON, C | L, true, DROPEFFECT_NONE},
        {MK_CONTROL | MK_SHIFT, kAll, true, DROPEFFECT_NONE},
        {MK_CONTROL | MK_SHIFT | MK_LBUTTON, L, true, DROPEFFECT_NONE},
        {MK_ALT, M | L, true, M},
        {MK_ALT | MK_LBUTTON, kAll, true, C},
        {MK_ALT | MK_SHIFT, kAll, true, M},
        {0, kAll, false, DROPEFFECT_NONE},
        {MK_CONTROL, C, false, DROPEFFECT_NONE},
        {MK_SHIFT, M, false, DROPEFFECT_NONE},
    };
    for (const EffectCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "keys " << c.keys << " offered " << c.offered
                                          << " accepted " << c.accepted);
        EXPECT_EQ(ApplyEffectRule(c.accepted, c.keys, c.offered), c.expected);

        Log drag_log;
        RecordingOwner drag_owner(drag_log);
        FakeDataObject drag_data(drag_log);
        drag_data.Offer(c.accepted ? CF_HDROP : CF_TEXT,
                        c.accepted ? DropFilesBlock({"C:\\a"}) : std::string("text"));
        DropSink sink(drag_owner, kFilesOnly, win32::ComPtr<IDropTargetHelper>());
        DWORD effect = c.offered;
        EXPECT_EQ(sink.DragEnter(&drag_data, c.keys, kPoint, &effect), S_OK);
        EXPECT_EQ(effect, c.expected);
        effect = c.offered;
        EXPECT_EQ(sink.DragOver(c.keys, kPoint, &effect), S_OK);
        EXPECT_EQ(effect, c.expected);
        drag_log.clear();
        effect = c.offered;
        EXPECT_EQ(sink.Drop(&drag_data, c.keys, kPoint, &effect), E_FAIL);
        EXPECT_EQ(effect, c.expected);
        const Log expected_events =
            c.expected == DROPEFFECT_NONE ? Log{} : Log{"GetData 15", "Files:C:\\a"};
        EXPECT_EQ(drag_log, expected_events);
        EXPECT_TRUE(drag_data.AllMediaReleased());
    }
}

TEST_F(SinkTest, TestsEnabledKindsInTheOrderTextFilesUrlHtml) {
    DropSink sink = MakeSink(kEverything);
    DWORD effect = kAll;
    EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(log,
              (Log{Query(Kind::Text), Query(Kind::Files), Query(Kind::Url), Query(Kind::Html)}));

    // The first hit ends the tests.
    data.Offer(CF_HDROP, DropFilesBlock({}));
    data.Offer(HtmlFormat(), "<b>");
    log.clear();
    effect = kAll;
    EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(log, (Log{Query(Kind::Text), Query(Kind::Files)}));

    // Kinds that are off are not even asked about.
    DropSink files_only = MakeSink(kFilesOnly);
    log.clear();
    effect = kAll;
    EXPECT_EQ(files_only.DragEnter(&data, 0, kPoint, &effect), S_OK);
    EXPECT_EQ(log, Log{Query(Kind::Files)});
}

TEST_F(SinkTest, ForwardsToTheDragImageHelperFirstWithTheOfferedEffect) {
    FakeHelper helper(log);
    helper.AddRef();
    {
        DropSink sink(owner, kFilesOnly, win32::ComPtr<IDropTargetHelper>(&helper));
        const HWND window = reinterpret_cast<HWND>(0x1234);
        sink.set_window(window);
        data.Offer(CF_HDROP, DropFilesBlock({"C:\\a"}));
        DWORD effect = kAll;
        EXPECT_EQ(sink.DragEnter(&data, MK_SHIFT, kPoint, &effect), S_OK);
        effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;
        EXPECT_EQ(sink.DragOver(MK_SHIFT, kPoint, &effect), S_OK);
        EXPECT_EQ(sink.DragLeave(), S_OK);
        effect = kAll;
        EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, &effect), S_OK);
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(sink.Drop(&data, 0, kPoint, &effect), E_FAIL);
        EXPECT_EQ(log, (Log{"helper DragEnter 4660 7", Query(Kind::Files), "helper DragOver 6",
                            "helper DragLeave", "helper DragEnter 4660 7", Query(Kind::Files),
                            "helper Drop 1", "GetData 15", "Files:C:\\a"}));
        EXPECT_EQ(helper.references, 2u);
    }
    EXPECT_EQ(helper.references, 1u);
}

TEST_F(SinkTest, ForgetsTheDragOnLeaveAndAfterTheDrop) {
    DropSink sink = MakeSink(kFilesOnly);
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\a"}));
    DWORD effect = kAll;
    EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, &effect), S_OK);
    EXPECT_EQ(sink.DragLeave(), S_OK);
    effect = kAll;
    EXPECT_EQ(sink.DragOver(0, kPoint, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);

    EXPECT_EQ(DragAndDrop(sink), E_FAIL);
    log.clear();
    effect = kAll;
    EXPECT_EQ(sink.Drop(&data, 0, kPoint, &effect), E_FAIL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(log, Log{});
}

struct DropCase {
    const char* name;
    AcceptFlags accept;
    std::vector<struct Offer> offers;
    Log events;
};

// One plain drag and drop over a fresh sink: the events it raised. Every medium asked for
// must have been given back, unlocked.
Log EventsOfOneDrop(const DropCase& c) {
    Log log;
    RecordingOwner owner(log);
    FakeDataObject data(log);
    for (const auto& offer : c.offers) {
        data.Offer(FormatOf(offer.kind), offer.bytes, offer.slack);
    }
    DropSink sink(owner, c.accept, win32::ComPtr<IDropTargetHelper>());
    DWORD effect = kAll;
    EXPECT_EQ(sink.DragEnter(&data, MK_LBUTTON, kPoint, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    log.clear();
    EXPECT_EQ(sink.Drop(&data, MK_LBUTTON, kPoint, &effect), E_FAIL);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_TRUE(data.AllMediaReleased());
    std::erase_if(log, [](const std::string& entry) { return entry.rfind("GetData", 0) == 0; });
    return log;
}

TEST_F(SinkTest, RaisesOneEventPerEnabledKindInTheOrderTextHtmlUrlFiles) {
    const std::string html_in = reinterpret_cast<const char*>(
        u8"Version:0.9\r\n<p>图标\u00A0文件 caf\u00E9\u00A0\u00A0x</p>");
    const std::string html_out = "Version:0.9\r\n<p>图标 文件 café  x</p>";
    const std::string files = DropFilesBlock({"C:\\Apps\\tool.exe", "D:\\b c.dll", "E:\\d.ico"});
    const DropCase cases[] = {
        {"one file",
         kFilesOnly,
         {{Kind::Files, DropFilesBlock({"D:\\Apps\\tool.exe"})}},
         {"Files:D:\\Apps\\tool.exe"}},
        {"three files in order",
         kFilesOnly,
         {{Kind::Files, files}},
         {"Files:C:\\Apps\\tool.exe\r\nD:\\b c.dll\r\nE:\\d.ico\r\n"}},
        {"no files", kFilesOnly, {{Kind::Files, DropFilesBlock({})}}, {"Files:"}},
        {"wide names as ANSI",
         kFilesOnly,
         {{Kind::Files, WideDropFilesBlock({L"C:\\图标\\a.exe", L"C:\\b"})}},
         {"Files:C:\\图标\\a.exe\r\nC:\\b\r\n"}},
        {"names in the code page",
         kFilesOnly,
         {{Kind::Files, DropFilesBlock({"C:\\图标.exe"})}},
         {"Files:C:\\图标.exe"}},
        {"text",
         {.AcceptText = true},
         {{Kind::Text, std::string("hello\0tail", 10)}},
         {"Text:hello"}},
        {"url",
         {.AcceptUrl = true},
         {{Kind::Url, "https://example.org/a?b"}},
         {"Url:https://example.org/a?b"}},
        {"html converted", {.AcceptHtml = true}, {{Kind::Html, html_in}}, {"Html:" + html_out}},
        {"html with text delivers html only",
         {.AcceptText = true, .AcceptHtml = true},
         {{Kind::Text, "plain"}, {Kind::Html, "<i>x</i>"}},
         {"Html:<i>x</i>"}},
        {"html suppresses text even when html is off",
         {.AcceptText = true},
         {{Kind::Text, "plain"}, {Kind::Html, "<i>x</i>"}},
         {}},
        {"every kind, in order",
         kEverything,
         {{Kind::Files, DropFilesBlock({"C:\\f"})},
          {Kind::Url, "http://u/"},
          {Kind::Text, "t"},
          {Kind::Html, "<h>"}},
         {"Html:<h>", "Url:http://u/", "Files:C:\\f"}},
        {"every kind but html, in order",
         kEverything,
         {{Kind::Files, DropFilesBlock({"C:\\f"})}, {Kind::Url, "http://u/"}, {Kind::Text, "t"}},
         {"Text:t", "Url:http://u/", "Files:C:\\f"}},
        {"only the enabled kinds",
         {.AcceptUrl = true},
         {{Kind::Files, DropFilesBlock({"C:\\f"})}, {Kind::Url, "http://u/"}, {Kind::Text, "t"}},
         {"Url:http://u/"}},
        {"a kind that cannot be delivered is skipped",
         {.AcceptText = true, .AcceptFiles = true},
         {{Kind::Files, DropFilesBlock({"C:\\f"})}},
         {"Files:C:\\f"}},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EventsOfOneDrop(c), c.events);
    }
}

TEST_F(SinkTest, RefusesDragsOfNoEnabledKind) {
    data.Offer(CF_TEXT, "text");
    data.Offer(UrlFormat(), "http://u/");
    data.Offer(HtmlFormat(), "<b>");
    for (const AcceptFlags& accept : {kFilesOnly, AcceptFlags{}}) {
        DropSink sink = MakeSink(accept);
        DWORD effect = kAll;
        EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, &effect), S_OK);
        EXPECT_EQ(effect, DROPEFFECT_NONE);
        EXPECT_EQ(DragAndDrop(sink), E_FAIL);
        EXPECT_EQ(log, Log{});
    }
    // With every flag off, not even files get through, and nothing is asked.
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\f"}));
    DropSink off = MakeSink(AcceptFlags{});
    log.clear();
    DWORD effect = kAll;
    EXPECT_EQ(off.DragEnter(&data, 0, kPoint, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(log, Log{});
    EXPECT_EQ(DragAndDrop(off), E_FAIL);
    EXPECT_EQ(log, Log{});
}

TEST_F(SinkTest, ReadsTheFlagsLiveAndFailsEveryDrop) {
    DropSink sink = MakeSink(AcceptFlags{});
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\f"}));
    data.Offer(CF_TEXT, "t");
    EXPECT_EQ(DragAndDrop(sink), E_FAIL);
    EXPECT_EQ(Events(), Log{});
    sink.set_accept({.AcceptText = true, .AcceptFiles = true});
    EXPECT_EQ(DragAndDrop(sink, MK_SHIFT), E_FAIL);
    EXPECT_EQ(Events(), (Log{"Text:t", "Files:C:\\f"}));
    EXPECT_EQ(DragAndDrop(sink, MK_SHIFT | MK_CONTROL), E_FAIL);
    EXPECT_EQ(Events(), Log{});
}

TEST_F(SinkTest, SetsEveryOutParameterAndLetsNoExceptionOut) {
    DropSink sink = MakeSink(kFilesOnly);
    EXPECT_EQ(sink.DragEnter(&data, 0, kPoint, nullptr), E_INVALIDARG);
    EXPECT_EQ(sink.DragOver(0, kPoint, nullptr), E_INVALIDARG);
    EXPECT_EQ(sink.Drop(&data, 0, kPoint, nullptr), E_FAIL);
    DWORD effect = kAll;
    EXPECT_EQ(sink.DragEnter(nullptr, 0, kPoint, &effect), E_INVALIDARG);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = kAll;
    EXPECT_EQ(sink.Drop(nullptr, 0, kPoint, &effect), E_FAIL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);

    struct ThrowingOwner final : DropTargetOwner {
        void FilesReceived(const char*) override { throw std::runtime_error("handler"); }
    } thrower;
    DropSink throwing(thrower, kFilesOnly, win32::ComPtr<IDropTargetHelper>());
    data.Offer(CF_HDROP, DropFilesBlock({"C:\\f"}));
    EXPECT_EQ(DragAndDrop(throwing), E_FAIL);
}

std::string DropFilesHeader(DWORD files_at, BOOL wide = FALSE) {
    DROPFILES header{};
    header.pFiles = files_at;
    header.fWide = wide;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST_F(SinkTest, ReadsMalformedBlocksOnlyWithinTheirSize) {
    // Every block is followed in memory by bytes that are not NUL, so a reader that goes past
    // a block's end picks them up or runs on.
    constexpr std::size_t kSlack = 64;
    const std::string list = std::string("C:\\a\0\0", 6);
    const DropCase cases[] = {
        {"text without NUL", {.AcceptText = true}, {{Kind::Text, "abc", kSlack}}, {"Text:abc"}},
        {"url without NUL",
         {.AcceptUrl = true},
         {{Kind::Url, "http://u", kSlack}},
         {"Url:http://u"}},
        {"html without NUL", {.AcceptHtml = true}, {{Kind::Html, "<b>", kSlack}}, {"Html:<b>"}},
        {"malformed utf-8",
         {.AcceptHtml = true},
         {{Kind::Html,
           "a\xFF"
           "b\xE5\x9B",
           kSlack}},
         {"Html:a?b?"}},
        {"empty html", {.AcceptHtml = true}, {{Kind::Html, std::string(1, '\0')}}, {"Html:"}},
        {"smaller than its header",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20).substr(0, 10), kSlack}},
         {}},
        {"list beyond the block", kFilesOnly, {{Kind::Files, DropFilesHeader(1000) + list}}, {}},
        {"no names, nothing after",
         kFilesOnly,
         {{Kind::Files, DropFilesBlock({}), kSlack}},
         {"Files:"}},
        {"no names, ended twice",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20) + std::string(2, '\0'), kSlack}},
         {"Files:"}},
        {"list at the very end", kFilesOnly, {{Kind::Files, DropFilesHeader(20), kSlack}}, {}},
        {"list inside the header", kFilesOnly, {{Kind::Files, DropFilesHeader(8) + list}}, {}},
        {"odd list offset",
         kFilesOnly,
         {{Kind::Files, DropFilesBlock({"C:\\a"}, 21)}},
         {"Files:C:\\a"}},
        {"no double NUL",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20) + std::string("C:\\a\0", 5), kSlack}},
         {}},
        {"name without NUL",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20) + "C:\\a", kSlack}},
         {}},
        {"wide list without double NUL",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20, TRUE) + Utf16Bytes(std::wstring(L"C:\\a\0", 5)),
           kSlack}},
         {}},
        {"wide list ending in half a unit",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(20, TRUE) + Utf16Bytes(std::wstring(L"a\0", 2)) + '\0',
           kSlack}},
         {}},
        {"wide list at an odd offset",
         kFilesOnly,
         {{Kind::Files, DropFilesHeader(21, TRUE) + '\0' + Utf16Bytes(std::wstring(L"a\0\0", 3))}},
         {"Files:a"}},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EventsOfOneDrop(c), c.events);
    }
}

} // namespace
} // namespace droptarget
