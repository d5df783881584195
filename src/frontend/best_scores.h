// The three best scores, highest first, kept in TEXT/ranking.txt.
#pragma once

extern int bestScores[3];

void LoadBestScores();
void SaveBestScores();
