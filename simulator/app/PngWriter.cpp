#include "simulator/app/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/Files.h"

namespace sim {
namespace {

// Largest side accepted; far beyond any LCD or skin.
constexpr int kMaxSide = 1 << 14;

struct ErrorSink {
  char message[256] = {};
};

void OnPngError(png_structp a_Png, png_const_charp a_Message) {
  auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(a_Png));
  if (sink != nullptr) std::snprintf(sink->message, sizeof sink->message, "%s", a_Message);
  png_longjmp(a_Png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct Format {
  int bitDepth;
  int colourType;
  bool oneBitDarkIsSet;  // our 1 = dark, bit 0 leftmost
};

void AppendToBuffer(png_structp a_Png, png_bytep a_Data, png_size_t a_Length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(a_Png));
  out->insert(out->end(), a_Data, a_Data + a_Length);
}

void NoFlush(png_structp) {}

// Encodes the PNG stream into a_Out. Kept free of objects with destructors: libpng reports
// errors by a long jump back into this function.
bool Encode(std::vector<uint8_t>& a_Out, const Format& a_Format, int a_Width, int a_Height,
            png_bytepp a_Rows, ErrorSink& a_Sink) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &a_Sink, OnPngError, OnPngWarning);
  if (png == nullptr) {
    std::snprintf(a_Sink.message, sizeof a_Sink.message, "libpng could not start");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(a_Sink.message, sizeof a_Sink.message, "libpng could not start");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &a_Out, AppendToBuffer, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(a_Width), static_cast<png_uint_32>(a_Height),
               a_Format.bitDepth, a_Format.colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  if (a_Format.oneBitDarkIsSet) {
    png_set_invert_mono(png);  // PNG gray 0 is black; our set bit is dark
    png_set_packswap(png);     // our bit 0 is the leftmost pixel
  }
  png_write_image(png, a_Rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Encodes the picture and writes it in one step, so a failure leaves no half-written file.
bool WriteFile(const std::filesystem::path& a_Path, const Format& a_Format, int a_Width,
               int a_Height, const uint8_t* a_Data, std::size_t a_RowBytes, std::string& a_Error) {
  if (a_Data == nullptr || a_Width < 1 || a_Height < 1 || a_Width > kMaxSide ||
      a_Height > kMaxSide) {
    a_Error = "no picture to write (" + std::to_string(a_Width) + " x " +
              std::to_string(a_Height) + ")";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(a_Height));
  for (int y = 0; y < a_Height; ++y)
    rows[y] = const_cast<png_bytep>(a_Data + a_RowBytes * static_cast<std::size_t>(y));
  std::vector<uint8_t> bytes;
  ErrorSink sink;
  if (!Encode(bytes, a_Format, a_Width, a_Height, rows.data(), sink)) {
    a_Error = "cannot write " + a_Path.string() + ": " + sink.message;
    return false;
  }
  return WriteFileAtomically(a_Path.string(), bytes, a_Error);
}

}  // namespace

bool WriteLcdPng(const std::filesystem::path& a_Path, const uint8_t* a_Bits, int a_Width,
                 int a_Height, std::string& a_Error) {
  return WriteFile(a_Path, {1, PNG_COLOR_TYPE_GRAY, true}, a_Width, a_Height, a_Bits,
                   static_cast<std::size_t>((a_Width + 7) / 8), a_Error);
}

bool WriteRgbPng(const std::filesystem::path& a_Path, const uint8_t* a_Rgb, int a_Width,
                 int a_Height, std::string& a_Error) {
  return WriteFile(a_Path, {8, PNG_COLOR_TYPE_RGB, false}, a_Width, a_Height, a_Rgb,
                   static_cast<std::size_t>(a_Width) * 3, a_Error);
}

}  // namespace sim
