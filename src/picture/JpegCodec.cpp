// JPEG reading and writing through libjpeg(-turbo). libjpeg reports fatal errors by calling
// back; we leave through longjmp, so every C++ object the decoder touches lives in a Job that
// the caller owns, and the functions that call setjmp hold nothing that needs destroying.
#include "picture/JpegCodec.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>

namespace orvo {

namespace {

const char kInvalidJpeg[] = "Immagine JPEG non valida";
const char kJpegTooLarge[] = "Immagine JPEG troppo grande";
const char kJpegNotWritten[] = "Non riesco a scrivere l'immagine JPEG";

struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void LeaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

struct ScanLimit {
    jpeg_progress_mgr manager;
    int maxScans = 0;
};

// A progressive file may hold thousands of scans over the whole picture: refuse past the limit.
void CountScans(j_common_ptr info) {
    if (info->is_decompressor == 0) return;
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    const auto* limit = reinterpret_cast<const ScanLimit*>(info->progress);
    if (decoder->input_scan_number > limit->maxScans) {
        info->err->msg_code = JERR_NOTIMPL;
        info->err->error_exit(info);
    }
}

struct DecodeJob {
    std::string_view bytes;
    DecodeLimits limits;
    Picture picture;
    std::vector<JSAMPLE> row;  // for CMYK only; other spaces decode straight into the bitmap
    bool tooLarge = false;
};

void StoreCmykRow(const DecodeJob& job, Bitmap& pixels, int y, bool adobe) {
    for (int x = 0; x < pixels.width; ++x) {
        const JSAMPLE* p = &job.row[std::size_t(x) * 4];
        // Adobe writes the inks inverted: 255 means no ink.
        auto channel = [&](int ink) {
            const int c = adobe ? p[ink] : 255 - p[ink];
            const int k = adobe ? p[3] : 255 - p[3];
            return std::uint8_t((c * k + 127) / 255);
        };
        pixels.Set(x, y, {channel(0), channel(1), channel(2)});
    }
}

bool RunDecode(DecodeJob& job) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    ScanLimit scans;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveOnError;
    errors.manager.emit_message = IgnoreMessage;
    scans.manager.progress_monitor = CountScans;
    scans.maxScans = job.limits.maxJpegScans;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &scans.manager;
    // The largest picture the limits allow fits, a hostile coefficient buffer does not.
    info.mem->max_memory_to_use = long(std::min<std::int64_t>(job.limits.maxPixels * 16, 1L << 30));
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(job.bytes.data()),
                 static_cast<unsigned long>(job.bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 ||
        info.image_width > unsigned(job.limits.maxSide) ||
        info.image_height > unsigned(job.limits.maxSide) ||
        std::int64_t(info.image_width) * info.image_height > job.limits.maxPixels) {
        job.tooLarge = true;
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);

    Bitmap& pixels = job.picture.pixels;
    pixels = Bitmap(int(info.output_width), int(info.output_height));
    if (cmyk) job.row.resize(std::size_t(info.output_width) * 4);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW target = cmyk ? job.row.data() : pixels.At(0, y);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) break;
        if (cmyk) StoreCmykRow(job, pixels, y, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    job.picture.width = pixels.width;
    job.picture.height = pixels.height;
    return true;
}

struct EncodeJob {
    const Bitmap* bitmap = nullptr;
    int quality = 75;
    unsigned char* buffer = nullptr;  // allocated by libjpeg with malloc
    unsigned long size = 0;
};

bool RunEncode(EncodeJob& job) {
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveOnError;
    errors.manager.emit_message = IgnoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &job.buffer, &job.size);
    info.image_width = JDIMENSION(job.bitmap->width);
    info.image_height = JDIMENSION(job.bitmap->height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job.quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(job.bitmap->At(0, int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

Result<Picture> DecodeJpeg(std::string_view bytes, const DecodeLimits& limits) {
    DecodeJob job{bytes, limits, {}, {}, false};
    job.picture.format = PictureFormat::Jpeg;
    if (bytes.empty()) return Fail(kInvalidJpeg);
    if (!RunDecode(job)) return Fail(job.tooLarge ? kJpegTooLarge : kInvalidJpeg);
    return std::move(job.picture);
}

Result<std::string> EncodeJpeg(const Bitmap& bitmap, int quality) {
    if (bitmap.Empty() || bitmap.width > 65500 || bitmap.height > 65500 ||
        bitmap.rgba.size() != std::size_t(bitmap.width) * std::size_t(bitmap.height) * 4) {
        return Fail(kJpegNotWritten);
    }
    EncodeJob job;
    job.bitmap = &bitmap;
    job.quality = std::clamp(quality, 0, 100);
    const bool written = RunEncode(job);
    std::string out;
    if (written && job.buffer != nullptr) out.assign(reinterpret_cast<char*>(job.buffer), job.size);
    std::free(job.buffer);
    if (!written || out.empty()) return Fail(kJpegNotWritten);
    return out;
}

}  // namespace orvo
