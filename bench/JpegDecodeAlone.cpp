#include "bench/JpegDecodeAlone.h"

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

#include "bench/Timing.h"

namespace bench {

double DecodeAlone(std::string_view bytes, std::vector<unsigned char>& pixels) {
  return TimeOf([&] {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const std::size_t stride = std::size_t{info.output_width} * 4;
    pixels.resize(stride * info.output_height);
    // Sixteen rows at a time, as the picture control reads them.
    JSAMPROW rows[16];
    while (info.output_scanline < info.output_height) {
      const JDIMENSION first = info.output_scanline;
      const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - first);
      for (JDIMENSION i = 0; i < count; ++i)
        rows[i] = pixels.data() + (first + i) * stride;
      jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_destroy_decompress(&info);
  });
}

}  // namespace bench
