#include "icon_commands.h"

namespace app {

namespace {

using iconexport::ExportOutcome;

// What the hundred passes of Extract came to.
struct ExtractTally {
    int saved = 0;
    int unreadable = 0;
    int writeFailed = 0;

    void Count(ExportOutcome outcome) {
        switch (outcome) {
        case ExportOutcome::saved:
            ++saved;
            break;
        case ExportOutcome::writeFailed:
            ++writeFailed;
            break;
        case ExportOutcome::unreadable:
        case ExportOutcome::ignoredTarget:
            ++unreadable;
            break;
        case ExportOutcome::notSelected:
            break;
        }
    }

    std::string Message() const {
        const int failed = unreadable + writeFailed;
        if (saved > 0) {
            return failed == 0 ? std::string(messages::kSaved) : PartlySavedMessage(saved, failed);
        }
        if (writeFailed > 0) {
            return std::string(messages::kDirectoryNotWritable);
        }
        if (unreadable > 0) {
            return std::string(messages::kIconsUnreadable);
        }
        return std::string(messages::kNoIcons);
    }
};

} // namespace

std::string IconFilePath(std::string_view programDirectory, int n) {
    std::string path(programDirectory);
    path += "\\ ";
    path += std::to_string(n);
    path += ".ico";
    return path;
}

bool IsPathHint(std::string_view text) {
    return text == PathHint;
}

std::string PartlySavedMessage(int saved, int failed) {
    return "只保存了部分图标文件：" + std::to_string(saved) + " 个已保存到程序根目录下，" +
           std::to_string(failed) + " 个未能保存";
}

std::string NotAllDeletedMessage(int left) {
    return "有 " + std::to_string(left) + " 个图标文件未能删除（可能是只读文件或正在使用）";
}

void OnExtractClicked(CommandEnvironment& environment) {
    const std::string text = environment.ReadPathBox();
    if (text.empty() || IsPathHint(text)) {
        environment.ShowMessage(std::string(messages::kNoPath));
        return;
    }
    ExtractTally tally;
    for (int n = 1; n <= IconFileCount; ++n) {
        const std::string target = IconFilePath(environment.ProgramDirectory(), n);
        const std::string source = environment.ReadPathBox();
        ExportOutcome outcome = ExportOutcome::notSelected;
        environment.ExportIcon(source, 0, target, n, &outcome);
        tally.Count(outcome);
    }
    environment.ShowMessage(tally.Message());
}

void OnDeleteClicked(CommandEnvironment& environment) {
    int left = 0;
    for (int n = 1; n <= IconFileCount; ++n) {
        if (!environment.RemoveFile(IconFilePath(environment.ProgramDirectory(), n))) {
            ++left;
        }
    }
    environment.ShowMessage(left == 0 ? std::string(messages::kDeleted)
                                      : NotAllDeletedMessage(left));
}

void OnFileDropped(CommandEnvironment& environment, const std::string& path) {
    environment.WritePathBox(path);
}

} // namespace app
