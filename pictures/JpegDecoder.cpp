#include "pictures/JpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <new>
#include <string>

// libjpeg's header needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "pictures/PixelImage.h"
#include "platform/MessageText.h"

namespace {

std::uint64_t decodings = 0;

constexpr int kGreyLevels = 236;
constexpr JDIMENSION kRowsAtOnce = 16;

Failure JpegFailure(int code) {
  return Failure(FormatText(Cp932("JPEG エラー #%d"), {std::to_string(code)}));
}

// A decompressor whose fatal errors jump back into Attempt instead of ending the process.
// No C++ exception ever passes through the library's frames: the failure is thrown by our
// own code once the jump has left them.
class Decompressor {
 public:
  Decompressor() {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = JumpBack;
    errors_.manager.emit_message = [](j_common_ptr, int) {};
    errors_.manager.output_message = [](j_common_ptr) {};
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  // Safe before creation too: the library frees nothing while it has no memory manager.
  ~Decompressor() { jpeg_destroy_decompress(&info_); }

  j_decompress_ptr Info() { return &info_; }

  // Runs `step`, which calls the library and holds nothing that needs destroying (a jump
  // skips its frame). Gives the message code of a fatal error, or 0.
  template <typename Step>
  int Attempt(Step&& step) {
    if (setjmp(errors_.jump) != 0) return errors_.manager.msg_code;
    step();
    return 0;
  }

  // The first step of each use: the library's state over all the bytes.
  void Start(std::string_view bytes) {
    jpeg_create_decompress(&info_);
    jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info_, TRUE);
  }

 private:
  struct Errors {
    jpeg_error_mgr manager;  // first, so that the library's pointer to it finds the jump
    std::jmp_buf jump;
  };

  static void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
  }

  jpeg_decompress_struct info_{};
  Errors errors_{};
};

// Settings of the decoding, then the room for the output counted against the memory cap.
void SetUpDecoding(j_decompress_ptr info) {
  info->scale_num = 1;
  info->scale_denom = 1;
  info->dct_method = JDCT_FLOAT;
  info->do_block_smoothing = TRUE;
  info->buffered_image = FALSE;
  const bool grey = info->jpeg_color_space == JCS_GRAYSCALE;
  if (grey) {
    info->out_color_space = JCS_GRAYSCALE;
    info->quantize_colors = TRUE;
    info->desired_number_of_colors = kGreyLevels;
  } else {
    info->out_color_space = JCS_EXT_BGRA;
  }
  jpeg_calc_output_dimensions(info);
  if (!pixel_image::Fits(info->output_width, info->output_height, grey ? 8 : 32)) {
    ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
  }
  const std::uint64_t output =
      pixel_image::BytesPerLine(info->output_width, grey ? 8 : 32) * info->output_height;
  // No backing store: what does not fit fails with the library's own code.
  info->mem->max_memory_to_use = static_cast<long>(pixel_image::kMemoryCap - output);
}

QImage ImageForOutput(j_decompress_ptr info) {
  const auto width = static_cast<int>(info->output_width);
  const auto height = static_cast<int>(info->output_height);
  if (info->out_color_space != JCS_GRAYSCALE) {
    return pixel_image::Allocate(width, height, QImage::Format_RGB32);
  }
  QImage image = pixel_image::Allocate(width, height, QImage::Format_Indexed8);
  QList<QRgb> levels;
  for (int i = 0; i < info->actual_number_of_colors; ++i) {
    const int level = info->colormap[0][i];
    levels.push_back(qRgb(level, level, level));
  }
  image.setColorTable(levels);
  return image;
}

}  // namespace

JpegHeader ReadJpegHeader(std::string_view bytes) {
  Decompressor decompressor;
  if (const int code = decompressor.Attempt([&] { decompressor.Start(bytes); })) {
    throw JpegFailure(code);
  }
  const j_decompress_ptr info = decompressor.Info();
  return {static_cast<int>(info->image_width), static_cast<int>(info->image_height),
          info->jpeg_color_space == JCS_GRAYSCALE};
}

JpegDecoding DecodeJpeg(std::string_view bytes) {
  ++decodings;
  Decompressor decompressor;
  const j_decompress_ptr info = decompressor.Info();
  if (const int code = decompressor.Attempt([&] {
        decompressor.Start(bytes);
        SetUpDecoding(info);
        jpeg_start_decompress(info);
      })) {
    return {QImage(), JpegFailure(code)};
  }

  QImage image;
  try {
    image = ImageForOutput(info);
  } catch (const std::bad_alloc&) {
    image = QImage();
  }
  if (image.isNull()) return {QImage(), JpegFailure(JERR_OUT_OF_MEMORY)};
  unsigned char* const pixels = image.bits();
  const auto bytesPerLine = static_cast<std::size_t>(image.bytesPerLine());
  const int code = decompressor.Attempt([&] {
    JSAMPROW rows[kRowsAtOnce];
    while (info->output_scanline < info->output_height) {
      const JDIMENSION first = info->output_scanline;
      const JDIMENSION count = std::min(kRowsAtOnce, info->output_height - first);
      for (JDIMENSION i = 0; i < count; ++i)
        rows[i] = pixels + (first + i) * bytesPerLine;
      if (jpeg_read_scanlines(info, rows, count) == 0) break;
    }
  });
  std::optional<Failure> failure;
  if (code != 0) failure = JpegFailure(code);
  const auto decoded = static_cast<int>(info->output_scanline);
  if (decoded == image.height()) return {std::move(image), std::move(failure)};
  return {decoded == 0 ? QImage() : image.copy(0, 0, image.width(), decoded), std::move(failure)};
}

std::uint64_t JpegDecodingsSoFar() {
  return decodings;
}
