// The selection filter of route elements: entities that carry XData of "RQ_LINK" or "RQ_ATTR".
//
// The settings check, the colour recovery and the part-number collection select every entity of
// the drawing through acedSSGet with this filter and sort the answers out themselves.
#pragma once

#include <adsdef.h>
#include <dbid.h>

#include <memory>

// Frees a result-buffer chain with acutRelRb.
struct ResbufChainDeleter {
  void operator()(resbuf* chain) const;
};
using ResbufChain = std::unique_ptr<resbuf, ResbufChainDeleter>;

// A new filter chain: the XData group -3 followed by one 1001 group with the application name
// pattern "RQ_LINK,RQ_ATTR". Null only when the chain cannot be built.
ResbufChain NewRouteElementFilter();

// The route elements a check or a colour recovery works on: the editor's pick-first selection
// (acedSSGet "I") narrowed by the route element filter, else every such entity of the drawing
// ("A"). RTNORM with `selection` made (the caller frees it with acedSSFree); any other result
// when neither gives a set, `selection` then untouched and nothing to free.
int SelectRouteElements(ads_name selection);

// The object id of member `index` of selection `set`; a null id when the member or its id
// cannot be had, which the loops over a selection pass over.
AcDbObjectId SelectionMember(const ads_name set, long index);

// Makes what a loop over the route elements recoloured visible at once: queued graphics are
// flushed and the display updated, as after a check or a recovery.
void FlushRecolouredElements();
