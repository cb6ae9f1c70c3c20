// One profile (INI) file in memory: its lines as they were read, with hash indexes over the
// sections and keys, so that a look-up costs the same in a file of ten keys or fifty thousand.
//
// Lines that a change does not concern keep their bytes (text, encoding and line end) when the
// file is written again; changed and new lines end with CRLF.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/win/text_encoding.h"

namespace platform {

class ProfileFile {
 public:
  // An empty new file, written in code page 932 until a text needs more.
  ProfileFile();
  ~ProfileFile();
  ProfileFile(ProfileFile&&) noexcept;
  ProfileFile& operator=(ProfileFile&&) noexcept;
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  // Reads a file's bytes: UTF-16LE with BOM, UTF-8 with BOM, UTF-8 holding more than ASCII,
  // else code page 932 (pure ASCII counts as code page 932, as Windows would write it).
  static ProfileFile Parse(std::string_view bytes);
  // The file's bytes. A code page 932 file whose bytes would read as UTF-8 goes over to
  // UTF-16LE first, so that what is written reads back as the same text.
  std::string Serialize();
  TextEncoding encoding() const { return encoding_; }

  // The value of a key as it stands after "=", blanks around it removed, quotes kept; null when
  // the section or key is missing. Sections and keys match without regard to case; the first of
  // equal names counts. The view stays valid until the file is changed or destroyed. Not safe to
  // call from two threads at once on one file (it keeps scratch space and the last section
  // found).
  std::optional<std::wstring_view> Find(std::wstring_view section, std::wstring_view key) const;
  // Section names in file order (the first of equal names only).
  std::vector<std::wstring> SectionNames() const;
  // Key names of a section in file order (first of equal keys only); false when it is missing.
  bool KeyNames(std::wstring_view section, std::vector<std::wstring>* keys) const;

  // Replaces the key's line with "key=value", or adds the line after the last non-blank line of
  // the section, or adds the section at the end. A text that code page 932 cannot hold turns a
  // code page 932 file into UTF-16LE (and so may Serialize).
  void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  // Removes the key's line; false when there was none.
  bool DeleteKey(std::wstring_view section, std::wstring_view key);
  // Removes the section's header and every line up to the next section; false when missing.
  bool DeleteSection(std::wstring_view section);

 private:
  struct Line;
  struct Section;
  Section* FindSection(std::wstring_view name) const;
  void IndexSections();
  // Moves a code page 932 file over to UTF-16LE (its lines are written from their text).
  void Reencode();
  // The lines in the file's encoding: as read where unchanged, else from their text.
  std::string Render() const;

  TextEncoding encoding_ = TextEncoding::kCp932;
  // sections_[0] holds the lines before the first section header; it has no header.
  std::vector<std::unique_ptr<Section>> sections_;
  std::unordered_map<std::wstring, Section*> index_;  // upper-cased name -> first section

  // A project is read section by section, key after key: the last section found by its name as
  // the caller spelt it saves folding and hashing that name again. Only hits are kept, and a
  // deleted section clears it, so it is never wrong.
  mutable std::wstring last_section_name_;
  mutable Section* last_section_ = nullptr;
  // Space for an upper-cased key, kept so that a look-up allocates nothing.
  mutable std::wstring folded_key_;
};

}  // namespace platform
