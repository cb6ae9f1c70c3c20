// MFC's array collections: CStringArray, CPtrArray, CUIntArray, CDWordArray, CWordArray.
#pragma once

#include <vector>

#include <afxstr.h>

namespace platform::mfc {

// The shared behaviour of MFC's typed arrays. Indices out of range are ignored by setters and
// give a default value from getters (MFC asserts), so a wrong index never corrupts memory.
template <typename T, typename ArgT = const T&>
class TypedArray {
 public:
  TypedArray() = default;
  TypedArray(const TypedArray&) = delete;  // MFC arrays are not copyable; use Copy
  TypedArray& operator=(const TypedArray&) = delete;
  virtual ~TypedArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return items_.empty(); }
  // Grows with default values or shrinks to new_size (negative: 0).
  void SetSize(INT_PTR new_size, INT_PTR grow_by = -1) {
    items_.resize(new_size > 0 ? static_cast<size_t>(new_size) : 0);
  }
  T GetAt(INT_PTR index) const { return InRange(index) ? items_[index] : T(); }
  void SetAt(INT_PTR index, ArgT value) {
    if (InRange(index)) items_[index] = value;
  }
  // Grows the array when index is past the end.
  void SetAtGrow(INT_PTR index, ArgT value) {
    if (index < 0) return;
    if (index >= GetSize()) items_.resize(index + 1);
    items_[index] = value;
  }
  // index must be in range.
  T& ElementAt(INT_PTR index) { return items_.at(index); }
  const T& ElementAt(INT_PTR index) const { return items_.at(index); }
  T& operator[](INT_PTR index) { return items_.at(index); }
  const T& operator[](INT_PTR index) const { return items_.at(index); }
  T* GetData() { return items_.data(); }
  const T* GetData() const { return items_.data(); }
  // Returns the index of the new element.
  INT_PTR Add(ArgT value) {
    items_.push_back(value);
    return GetSize() - 1;
  }
  // Inserts count copies at index; past the end grows the array first.
  void InsertAt(INT_PTR index, ArgT value, INT_PTR count = 1) {
    if (index < 0 || count <= 0) return;
    if (index > GetSize()) items_.resize(index);
    items_.insert(items_.begin() + index, count, value);
  }
  void RemoveAt(INT_PTR index, INT_PTR count = 1) {
    if (index < 0 || count <= 0 || index >= GetSize()) return;
    INT_PTR end = index + count > GetSize() ? GetSize() : index + count;
    items_.erase(items_.begin() + index, items_.begin() + end);
  }
  void RemoveAll() { items_.clear(); }
  void FreeExtra() { items_.shrink_to_fit(); }
  // Appends the other array; returns the index of its first element here.
  INT_PTR Append(const TypedArray& other) {
    INT_PTR first = GetSize();
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return first;
  }
  void Copy(const TypedArray& other) {
    if (&other != this) items_ = other.items_;
  }

 private:
  bool InRange(INT_PTR index) const { return index >= 0 && index < GetSize(); }
  std::vector<T> items_;
};

}  // namespace platform::mfc

class CStringArray : public platform::mfc::TypedArray<CString, LPCWSTR> {
 public:
  INT_PTR Add(LPCWSTR value) { return TypedArray::Add(value ? value : L""); }
  INT_PTR Add(const CString& value) { return TypedArray::Add(value.GetString()); }
};
class CPtrArray : public platform::mfc::TypedArray<void*, void*> {};
class CUIntArray : public platform::mfc::TypedArray<UINT, UINT> {};
class CDWordArray : public platform::mfc::TypedArray<DWORD, DWORD> {};
class CWordArray : public platform::mfc::TypedArray<WORD, WORD> {};
