/* SPDX-License-Identifier: GPL-3.0-or-later */
/* The floor of the command line's PNG: the least a program does to write a
 * picture of a given size as PNG, a plain C program that fills the pixels with
 * one colour and hands them to libpng as 8-bit RGB at zlib's default level,
 * the level Qt's PNG writer keeps when no quality is asked of it, with
 * libpng's default filters.
 * Usage: lumetra_png_floor WIDTHxHEIGHT FILE */

#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

/* The plot window's background, the button face of Qt's default palette. */
enum { kRed = 0xef, kGreen = 0xef, kBlue = 0xef };

static int write_png(FILE* file, png_uint_32 width, png_uint_32 height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    png_bytep row = malloc((size_t)width * 3);
    int written = 0;
    if (info != NULL && row != NULL && setjmp(png_jmpbuf(png)) == 0) {
        for (png_uint_32 x = 0; x < width; ++x) {
            row[3 * x] = kRed;
            row[3 * x + 1] = kGreen;
            row[3 * x + 2] = kBlue;
        }
        png_init_io(png, file);
        png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (png_uint_32 y = 0; y < height; ++y) {
            png_write_row(png, row);
        }
        png_write_end(png, info);
        written = 1;
    }
    free(row);
    png_destroy_write_struct(&png, &info);
    return written;
}

int main(int argc, char* argv[]) {
    unsigned width = 0, height = 0;
    char rest = 0;
    if (argc != 3 || sscanf(argv[1], "%ux%u%c", &width, &height, &rest) != 2 || width == 0 ||
        height == 0) {
        fprintf(stderr, "usage: %s WIDTHxHEIGHT FILE\n", argv[0]);
        return 2;
    }
    FILE* file = fopen(argv[2], "wb");
    if (file == NULL) {
        perror(argv[2]);
        return 1;
    }
    const int written = write_png(file, width, height);
    return fclose(file) == 0 && written ? 0 : 1;
}
