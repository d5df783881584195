// Round flow: countdown, the pause menu and the keys that leave the game, the
// crash and its best-score entry, distance score, hands-off boost and dash.
#pragma once

void ReadRoundKeys();     // step 6: pause menu, Esc, D, Enter
void RunHandsOffBoost();  // step 10
void PlaceCrashCamera();  // step 13
void CountExplosion();    // step 15
void RunCountdown();      // step 18
void ScoreDistance();     // step 19
void MakeDashSmoke();     // step 20
void RunDash();           // step 26

// The ship has hit a stone: the round ends and the score enters the table.
void CrashShip();

// Puts a final score into bestScores (highest first; a score equal to an
// entry goes above it). Answers whether the table changed.
bool InsertBestScore(float score);
