// MainWindow: the program's only window, its six components and the wiring of their events
// to the commands.
#pragma once

#include "background.h"
#include "icon_commands.h"
#include "resource_ids.h"

#include "drop_target.h"
#include "win32_owners.h"

#include <memory>
#include <string>

namespace app {

inline constexpr const char* kMainWindowClassName = "IconExtractorMainWindow";
inline constexpr const char* kMainWindowTitle = "ICO图标提取工具  By:Qorvane]  Maltor";

// The commands' view of the window: the path box, the export, the files, the message box.
class WindowCommands final : public CommandEnvironment {
public:
    explicit WindowCommands(std::string programDirectory)
        : programDirectory_(std::move(programDirectory)) {}
    void SetWindows(HWND mainWindow, HWND pathBox) {
        mainWindow_ = mainWindow;
        pathBox_ = pathBox;
    }

    std::string ReadPathBox() override;
    void WritePathBox(const std::string& text) override;
    std::string ProgramDirectory() override { return programDirectory_; }
    std::int32_t ExportIcon(const std::string& source, std::int32_t mode, const std::string& target,
                            std::int32_t index, iconexport::ExportOutcome* outcome) override;
    bool RemoveFile(const std::string& path) override;
    void ShowMessage(const std::string& text) override;

private:
    std::string programDirectory_;
    HWND mainWindow_ = nullptr;
    HWND pathBox_ = nullptr;
};

class MainWindow final : private droptarget::DropTargetOwner {
public:
    MainWindow(HINSTANCE instance, std::string programDirectory);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the window hidden with its components, raises its created event, then shows it.
    // False when the window or a component cannot be created.
    bool Create();

    // Sees each keyboard message before it is dispatched; true when it was consumed.
    bool PreTranslate(const MSG& message);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateComponents();
    void ArrangeComponents();
    void OnMainWindowCreated();
    // 拖放对象1's one wired event.
    void FilesReceived(const char* text) override;
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void MoveFocus(bool forward);
    void FocusLastComponent();

    HINSTANCE instance_;
    WindowCommands commands_;
    Background background_;
    // Declared before the window: the icon must outlive it.
    win32::UniqueIcon icon_;
    win32::UniqueWindow window_;
    HWND 编辑框1 = nullptr;
    HWND 按钮1 = nullptr;
    HWND 按钮2 = nullptr;
    std::unique_ptr<droptarget::DropTarget> 拖放对象1;
    HWND 标签1 = nullptr;
    HWND 标签2 = nullptr;
    // The component that had the focus when the window was last deactivated.
    HWND lastFocus_ = nullptr;
};

// Start-up, message loop and exit: the program's whole run. Returns the exit code.
int RunProgram(HINSTANCE instance);

} // namespace app
