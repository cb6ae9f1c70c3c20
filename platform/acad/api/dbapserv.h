// The host application services: which database is the working one.
#pragma once

class AcDbDatabase;

class AcDbHostApplicationServices {
 public:
  // The database that new entities and acdbRegApp use; null when the host has none.
  AcDbDatabase* workingDatabase() const { return working_; }
  void setWorkingDatabase(AcDbDatabase* pDatabase) { working_ = pDatabase; }

 private:
  AcDbDatabase* working_ = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
