#include "background_picture.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace app {

namespace {

// Larger pictures are refused before their rows are allocated.
constexpr JDIMENSION kLargestSide = 8192;
constexpr int kBytesPerPixel = 3;

// libjpeg's own error_exit ends the process; ours jumps back to the decoder instead.
struct ErrorTrap {
    jpeg_error_mgr manager; // first, so the library's pointer to it leads back here
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Level -1 is a warning about corrupt data.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) {
        JumpBack(info);
    }
}

void Silent(j_common_ptr) {}

// Every failure comes back through the setjmp; nothing in this frame needs destroying then.
bool DecodeInto(jpeg_decompress_struct& info, ErrorTrap& trap, std::span<const std::uint8_t> bytes,
                Picture& picture) {
    if (setjmp(trap.jump) != 0) {
        return false;
    }
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    if (info.output_width > kLargestSide || info.output_height > kLargestSide ||
        info.output_components != kBytesPerPixel) {
        return false;
    }
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.stride = (picture.width * kBytesPerPixel + 3) / 4 * 4;
    picture.bgr.assign(
        static_cast<std::size_t>(picture.stride) * static_cast<std::size_t>(picture.height), 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.bgr.data() + static_cast<std::size_t>(info.output_scanline) *
                                                static_cast<std::size_t>(picture.stride);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

std::optional<Picture> DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    ErrorTrap trap{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpBack;
    trap.manager.emit_message = OnMessage;
    trap.manager.output_message = Silent;
    jpeg_create_decompress(&info);
    Picture picture;
    const bool decoded = DecodeInto(info, trap, bytes, picture);
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        return std::nullopt;
    }
    return picture;
}

} // namespace app
