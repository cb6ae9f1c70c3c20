// The one host application services object of the process.
#include <dbapserv.h>

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}
