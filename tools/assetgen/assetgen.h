// assetgen: writes Corvane's original data set. Each area writes its files
// under outDir (bmp/, wav/, XFILE/) and reports what it wrote on stdout.
#pragma once

#include <string>

void GenerateTextures(const std::string& outDir);
void GenerateSounds(const std::string& outDir);
void GenerateMeshes(const std::string& outDir);
// The program's icon: icon.png and icon.ico directly under outDir.
void GenerateProgramIcon(const std::string& outDir);
// Lays every texture of outDir/bmp out on one labelled PNG page.
bool WriteContactSheet(const std::string& dataDir, const std::string& pngPath);
