#include "textures.h"
void MakeTextTextures(std::vector<TextureFile>&) {}
