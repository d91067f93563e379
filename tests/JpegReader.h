#pragma once
// Reads a JPEG file back for the tests: its pixels as RGB rows and how it was encoded.
#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

struct JpegFile {
    int width = 0, height = 0, components = 0;
    int quality0 = 0; // the first entry of the luminance table
    bool progressive = true, jfif = false;
    std::vector<uint8_t> rgb;
};

// Reads and closes `file`; an empty result for no file.
inline JpegFile ReadJpegFile(FILE* file)
{
    JpegFile j;
    if (!file) return j;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    j.components = cinfo.num_components;
    j.progressive = cinfo.progressive_mode;
    j.jfif = cinfo.saw_JFIF_marker;
    j.quality0 = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_start_decompress(&cinfo);
    j.width = static_cast<int>(cinfo.output_width);
    j.height = static_cast<int>(cinfo.output_height);
    j.rgb.resize(static_cast<size_t>(j.width) * j.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = j.rgb.data() + static_cast<size_t>(cinfo.output_scanline) * j.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return j;
}
