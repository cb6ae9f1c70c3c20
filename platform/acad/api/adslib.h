// The ADS library as one header, as the SDK's adslib.h: types and result codes, the utility
// functions and the editor functions.
#pragma once

#include <acedads.h>
#include <acutads.h>
#include <adsdef.h>
