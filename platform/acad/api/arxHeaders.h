// Everything of the ObjectARX subset in one include, as applications include the SDK's.
#pragma once

#include <acadstrc.h>
#include <acarray.h>
#include <accmd.h>
#include <acdb.h>
#include <acdocman.h>
#include <actrans.h>
#include <acutads.h>
#include <adesk.h>
#include <adsdef.h>
#include <dbapserv.h>
#include <dbcolor.h>
#include <dbcurve.h>
#include <dbdict.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbgroup.h>
#include <dbhatch.h>
#include <dbid.h>
#include <dbmain.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gegbl.h>
#include <gemat3d.h>
#include <gepnt2d.h>
#include <gepnt3d.h>
#include <gescl3d.h>
#include <gevec2d.h>
#include <gevec3d.h>
#include <rxobject.h>
#include <rxregsvc.h>

// The editor and the UI classes, once they are there.
#if __has_include("aced.h")
#include <aced.h>
#endif
#if __has_include("acedads.h")
#include <acedads.h>
#endif
#if __has_include("adslib.h")
#include <adslib.h>
#endif
#if __has_include("acgi.h")
#include <acgi.h>
#endif
#if __has_include("acui.h")
#include <acui.h>
#endif
#if __has_include("adui.h")
#include <adui.h>
#endif
