#pragma once
// Makes the note area's control known to layouts as "TRichEdit".
void RegisterNoteComponents();
