// The fade to black that ends both front-end screens and switches the scene.
#pragma once

extern bool fadeActive;
extern int fadeAlpha;

void FadeOutStep();
