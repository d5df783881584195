// D3DX 9: math, textures, sprites and .x meshes over the Direct3D 9 device.
#pragma once

#include <windows.h>
#if __has_include(<d3d9.h>)
#include <d3d9.h>
#endif

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_DEFAULT_FLOAT FLT_MAX
#define D3DX_FROM_FILE ((UINT)-3)

#include <d3dx9math.h>
