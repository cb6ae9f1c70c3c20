// The page's own files (web/page/), built into the program so that it serves them wherever it
// is installed.
#pragma once

#include <cstddef>
#include <string>

namespace web {

struct PageAsset {
  const char* path;  // "/index.html", "/page.js", ...; "/" is index.html
  const char* content_type;
  const char* bytes;
  size_t size;
};

// The file served at `path` (the request's path, exactly), or null: there is no other file.
const PageAsset* FindPageAsset(const std::string& path);

}  // namespace web
