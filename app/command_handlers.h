// The handlers of Harnex's commands. Each is a plain function without arguments, as the command
// stack calls it.
#pragma once

void CmdShowPalette();      // RQ_HARNEX: shows the palette, creating it on first use
void CmdAutoSet();          // RQ_HARNEX_AUTOSET: automatic assignment from a terminal route
void CmdManualSet();        // RQ_HARNEX_MANUALSET: writes the chosen rows to a picked route
void CmdDrawNote();         // RQ_HARNEX_DRAWNOTE: prepares the note placement, starts LOCATE
void CmdLocate();           // RQ_HARNEX_LOCATE: one pick-and-place step of the note tool
void CmdCheckAttributes();  // RQ_HARNEX_CHECKATT: recolours elements without a trunk number
void CmdRecoverColour();    // RQ_HARNEX_RECOVERCOLOR: gives recoloured elements their colour back
void CmdDrawList();         // RQ_HARNEX_LIST: draws the list table of the current pattern
