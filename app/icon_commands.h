// The commands behind the main window's controls: Extract, Delete and a dropped file. They
// reach the window, the export, the files and the message box only through CommandEnvironment,
// so the same code runs in the program and in its tests.
#pragma once

#include "icon_export.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

inline constexpr int IconFileCount = 100;
// The path box's first text; Extract refuses to run on it.
inline constexpr std::string_view PathHint = "  可拖放程序文件到此窗口...";

// The messages the commands end with, all shown with the title "提示".
namespace messages {
inline constexpr std::string_view kNoPath = "请输入正确的路径";
inline constexpr std::string_view kSaved = "图标文件已经保存到程序根目录下";
inline constexpr std::string_view kNoIcons =
    "没有保存任何图标文件：源文件不存在，或其中没有可识别的图标";
inline constexpr std::string_view kDirectoryNotWritable =
    "没有保存任何图标文件：程序所在的目录无法写入";
// Also an ICO file that does not exist: only reading it tells.
inline constexpr std::string_view kIconsUnreadable =
    "没有保存任何图标文件：源文件无法读取，或其中的图标已损坏";
inline constexpr std::string_view kDeleted = "所有图标已成功删除";
} // namespace messages

// "D:\Tools" and 7 give "D:\Tools\ 7.ico"; every name begins with a space.
std::string IconFilePath(std::string_view programDirectory, int n);

// Byte for byte, leading spaces included.
bool IsPathHint(std::string_view text);

// The message after some icon files were saved and others failed.
std::string PartlySavedMessage(int saved, int failed);
// The message after some of the hundred names could not be deleted.
std::string NotAllDeletedMessage(int left);

class CommandEnvironment {
public:
    virtual ~CommandEnvironment() = default;
    virtual std::string ReadPathBox() = 0;
    virtual void WritePathBox(const std::string& text) = 0;
    // Fixed at start-up; each call gives a copy.
    virtual std::string ProgramDirectory() = 0;
    virtual std::int32_t ExportIcon(const std::string& source, std::int32_t mode,
                                    const std::string& target, std::int32_t index,
                                    iconexport::ExportOutcome* outcome) = 0;
    // True when no file of that name is left.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Returns once the user has closed the box.
    virtual void ShowMessage(const std::string& text) = 0;
};

void OnExtractClicked(CommandEnvironment& environment);
void OnDeleteClicked(CommandEnvironment& environment);
void OnFileDropped(CommandEnvironment& environment, const std::string& path);

} // namespace app
