#include "textures.h"
void MakeBackgroundTextures(std::vector<TextureFile>&) {}
