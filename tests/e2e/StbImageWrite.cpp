// The one compiled copy of stb_image_write, which the screenshots use.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
