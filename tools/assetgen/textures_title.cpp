#include "textures.h"
void MakeTitleTexture(std::vector<TextureFile>&) {}
