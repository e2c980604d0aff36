// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TJPEGImage.h"

#include <jpeglib.h>

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// QImage::Format_RGB32 in memory, with the alpha byte filled with 0xFF as Qt expects.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_ARGB;
#endif

// libjpeg may use this much working memory (whole-image buffers of progressive files).
constexpr long kMaxMemory = 512L << 20;

// Progressive files may hold any number of scans; past this many the file is taken as hostile.
constexpr long kMaxScans = 1000;

// libjpeg's default error handling prints and calls exit(); ours jumps back to the decoder.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Everything libjpeg works on, kept in the caller's frame.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    jpeg_progress_mgr progress;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

void SilentMessage(j_common_ptr, int) {}  // warnings (e.g. a truncated file) are not printed

void Fail(j_common_ptr cinfo, const char* message) {
    auto* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(error->message, sizeof error->message, "%s", message);
    std::longjmp(error->jump, 1);
}

void CheckProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > kMaxScans)
        Fail(cinfo, "JPEG image has too many scans");
}

QImage::Format FormatFor(J_COLOR_SPACE out) {
    return out == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

// Chooses the output colour space once the header is read.
void ChooseOutput(j_decompress_ptr cinfo) {
    switch (cinfo->jpeg_color_space) {
        case JCS_GRAYSCALE:
            cinfo->out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo->out_color_space = JCS_CMYK;
            break;
        default:
            cinfo->out_color_space = kRgb32Space;
            break;
    }
}

// Converts one row of CMYK to RGB32. Adobe writes the four values inverted.
void CmykRowToRgb(const unsigned char* cmyk, QRgb* out, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// The libjpeg part. Nothing in this frame has a destructor, so a longjmp out of libjpeg skips no
// cleanup; the image and the row buffer belong to the caller.
bool RunDecoder(DecodeState& s, const unsigned char* data, unsigned long size, QImage* image,
                std::vector<unsigned char>* row) {
    if (setjmp(s.error.jump)) {
        jpeg_destroy_decompress(&s.cinfo);
        return false;
    }
    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = kMaxMemory;
    s.cinfo.progress = &s.progress;
    jpeg_mem_src(&s.cinfo, data, size);
    jpeg_read_header(&s.cinfo, TRUE);
    ChooseOutput(&s.cinfo);
    jpeg_calc_output_dimensions(&s.cinfo);
    const std::size_t pixels = std::size_t(s.cinfo.output_width) * s.cinfo.output_height;
    if (pixels == 0 || pixels > TJPEGImage::MaxPixels)
        Fail(reinterpret_cast<j_common_ptr>(&s.cinfo), "JPEG image is too large");
    *image = QImage(int(s.cinfo.output_width), int(s.cinfo.output_height),
                    FormatFor(s.cinfo.out_color_space));
    if (image->isNull()) Fail(reinterpret_cast<j_common_ptr>(&s.cinfo), "Out of memory");
    const bool cmyk = s.cinfo.out_color_space == JCS_CMYK;
    if (cmyk) row->resize(std::size_t(s.cinfo.output_width) * 4);
    jpeg_start_decompress(&s.cinfo);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        const int y = int(s.cinfo.output_scanline);
        JSAMPROW target = cmyk ? row->data() : image->scanLine(y);
        jpeg_read_scanlines(&s.cinfo, &target, 1);
        if (cmyk)
            CmykRowToRgb(row->data(), reinterpret_cast<QRgb*>(image->scanLine(y)),
                         s.cinfo.output_width, s.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&s.cinfo);
    jpeg_destroy_decompress(&s.cinfo);
    return true;
}

}  // namespace

QImage TJPEGImage::Decode(const void* data, std::size_t size) {
    if (size == 0) throw EJPEG("JPEG image is empty");
    DecodeState state{};
    state.cinfo.err = jpeg_std_error(&state.error.pub);
    state.error.pub.error_exit = ErrorExit;
    state.error.pub.emit_message = SilentMessage;
    state.progress.progress_monitor = CheckProgress;
    QImage image;
    std::vector<unsigned char> row;
    if (!RunDecoder(state, static_cast<const unsigned char*>(data),
                    static_cast<unsigned long>(size), &image, &row))
        throw EJPEG(state.error.message);
    return image;
}

void TJPEGImage::LoadFromData(const void* data, std::size_t size) {
    FImage = Decode(data, size);
}

void TJPEGImage::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EJPEG("Cannot open JPEG image " + path.toStdString());
    const QByteArray bytes = file.readAll();
    LoadFromData(bytes.constData(), std::size_t(bytes.size()));
}
