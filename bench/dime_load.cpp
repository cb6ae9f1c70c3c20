// The dime DXF library loading a drawing, and saving it when asked, as one whole process: the
// other column of bench/dxf_vs_dime.py beside harnex-host.
//
//   dime_load [--count] IN.dxf [OUT.dxf]
//
// Reads IN into dime's model (dimeInput, dimeModel::read) and, with OUT, writes the model to OUT
// (dimeOutput, dimeModel::write). --count prints to stderr what was read: the entities of the
// ENTITIES section by name and the model's records, so that a run can be checked to have read
// the drawing and not stopped short. Ends non-zero, with a message on stderr, when reading or
// writing fails.
//
// Built by the bench script alone (g++ -O2 ... -ldime), not by the project's build: it needs
// Debian's libdime-dev, which the project does not.
//
// Like harnex-host, it ends with the drawing still in memory: freeing the model object by object
// is no part of loading or saving it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/Output.h>
#include <dime/entities/Entity.h>
#include <dime/sections/EntitiesSection.h>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: dime_load [--count] IN.dxf [OUT.dxf]\n");
  return 2;
}

// The ENTITIES section's entities by name, and the model's records, on stderr.
void Count(dimeModel& model) {
  std::map<std::string, int> names;
  int total = 0;
  auto* section = static_cast<dimeEntitiesSection*>(model.findSection("ENTITIES"));
  if (section != nullptr) {
    total = section->getNumEntities();
    for (int i = 0; i < total; ++i) ++names[section->getEntity(i)->getEntityName()];
  }
  std::fprintf(stderr, "dime_load: %d entities", total);
  for (const auto& [name, n] : names) std::fprintf(stderr, ", %d %s", n, name.c_str());
  std::fprintf(stderr, "; %d records\n", model.countRecords());
}

}  // namespace

int main(int argc, char** argv) {
  bool count = false;
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--count") == 0) {
    count = true;
    first = 2;
  }
  if (argc - first < 1 || argc - first > 2) return Usage();
  const char* in_path = argv[first];
  const char* out_path = argc - first == 2 ? argv[first + 1] : nullptr;

  // Left to the end of the process on purpose (see above).
  auto* model = new dimeModel();
  {
    dimeInput in;
    if (!in.setFile(in_path)) {
      std::fprintf(stderr, "dime_load: cannot open %s: %s\n", in_path, std::strerror(errno));
      return 1;
    }
    if (!model->read(&in)) {
      std::fprintf(stderr, "dime_load: cannot read %s (near line %d)\n", in_path,
                   in.getFilePosition());
      return 1;
    }
  }
  if (count) Count(*model);

  if (out_path != nullptr) {
    // The file is opened and closed here, so that a failing close (a full disk) is seen too.
    FILE* fp = std::fopen(out_path, "wb");
    if (fp == nullptr) {
      std::fprintf(stderr, "dime_load: cannot create %s: %s\n", out_path, std::strerror(errno));
      return 1;
    }
    bool written;
    {
      dimeOutput out;
      written = out.setFileHandle(fp) && model->write(&out);
    }
    written = std::fflush(fp) == 0 && std::ferror(fp) == 0 && written;
    if (std::fclose(fp) != 0) written = false;
    if (!written) {
      std::fprintf(stderr, "dime_load: cannot write %s\n", out_path);
      return 1;
    }
  }
  return 0;
}
