// The fade to black that ends both front-end screens and switches the scene.
#pragma once

extern bool fadeActive;
extern int fadeAlpha;

void FadeOutStep();

// After Present on a front-end screen: true for a new Enter press while no
// fade runs. A held Enter, or one landing after the fade switched the screen
// inside this very frame, belongs to no screen and is latched.
bool FreshEnterOn(int screen);
// Enter's usual answer: latch the key, start the fade, play its sound.
void StartFade();
