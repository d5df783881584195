// Round flow: countdown, the pause menu and the keys that leave the game, the
// crash and its best-score entry, distance score, hands-off boost and dash.
#pragma once

void ReadRoundKeys();     // UpdateGame step 6: pause menu, Esc, D, Enter
void RunHandsOffBoost();  // UpdateGame step 10
void PlaceCrashCamera();  // UpdateGame step 13
void CountExplosion();    // UpdateGame step 15
void RunCountdown();      // UpdateGame step 18
void ScoreDistance();     // UpdateGame step 19
void MakeDashSmoke();     // UpdateGame step 20
void RunDash();           // UpdateGame step 26

// The ship has hit a stone: the round ends and the score enters the table.
void CrashShip();

// Puts a final score into bestScores (highest first; a score equal to an
// entry goes above it). Answers whether the table changed.
bool InsertBestScore(float score);
