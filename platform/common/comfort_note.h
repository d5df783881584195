// The short note a comfort key leaves on the screen ("MUSIC 40", "MUTED"),
// shown for a second over the presented picture; captures hold it only
// with --capture-note.
#pragma once

namespace corvane {

void ShowComfortNote(const char* text);

// The note to draw now; nullptr once its second is over.
const char* ComfortNoteText();

}  // namespace corvane
