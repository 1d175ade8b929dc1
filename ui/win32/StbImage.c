/* Debian's libstb carries the image decoder's code on Linux; for Windows it is
   compiled from the same header here. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
