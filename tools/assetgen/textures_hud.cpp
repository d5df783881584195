#include "textures.h"
void MakeHudTextures(std::vector<TextureFile>&) {}
