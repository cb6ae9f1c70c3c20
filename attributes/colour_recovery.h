// Colour recovery: gives the route elements that the trunk-number check recoloured the colour
// saved in their "$P13" record, and empties that record.
//
// It runs as the command RQ_HARNEX_RECOVERCOLOR and from the settings check window's "クリア".
// It prints nothing, not even when there is nothing to recover.
#pragma once

// Recovers the colours of the pick-first route elements, or of every route element of the
// drawing when none is selected. Only checkable elements (IsCheckableElement) are looked at;
// for each one with a non-empty "$P13" the saved colour index becomes the entity's (its
// attributes too; no colour change at all when it already has it) and "$P13" is emptied in
// place. An element without a saved colour, without a record list or that cannot be opened is
// left as it is and its list is not rewritten. Shows the progress meter "要素の色を復元して
// います..."; a user break (acedUsrBrk) stops the loop, the rest is then cleaned up as usual.
// Takes the document lock itself and goes on when it cannot be had.
void RecoverColours();
