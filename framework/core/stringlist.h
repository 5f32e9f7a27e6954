// Lists of narrow text lines (ANSI code page), each with an optional object reference.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <string>
#include <vector>

class TStream;

class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// Case folding for texts in the program's code page (936): only ASCII letters have case, and
// the trail byte of a double-byte character is never folded, so two different characters
// never compare equal.
std::string AnsiLowerCase(const std::string &s);
std::string AnsiUpperCase(const std::string &s);
// <0, 0, >0 like strcmp, ignoring the case of letters.
int AnsiCompareText(const std::string &a, const std::string &b);
inline bool AnsiSameText(const std::string &a, const std::string &b) {
  return AnsiCompareText(a, b) == 0;
}

class TStrings : public TPersistent {
public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string &s) = 0;
  virtual TObject *GetObject(int index) const = 0;
  virtual void PutObject(int index, TObject *object) = 0;
  virtual void InsertObject(int index, const std::string &s, TObject *object) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::string Strings(int index) const { return Get(index); }
  TObject *Objects(int index) const { return GetObject(index); }
  void Insert(int index, const std::string &s) { InsertObject(index, s, nullptr); }
  // Appends (a sorted list inserts in order); returns the index of the new line.
  int Add(const std::string &s) { return AddObject(s, nullptr); }
  virtual int AddObject(const std::string &s, TObject *object);
  void AddStrings(const TStrings &source);
  void Assign(const TStrings &source);

  virtual int IndexOf(const std::string &s) const;
  int IndexOfObject(const TObject *object) const;

  // Every line followed by CR LF. SetText splits at CR LF, LF or CR; a break after the last
  // line does not add an empty one.
  std::string Text() const;
  void SetText(const std::string &text);

  // Reads from the current position to the end; writes Text().
  void LoadFromStream(TStream &stream);
  void SaveToStream(TStream &stream) const;
  void LoadFromFile(const std::string &fileName);
  void SaveToFile(const std::string &fileName) const;

  // name=value lines: Names(i) is the text before the first separator ("" if none);
  // Values(name) the text after it of the first line with that name.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  std::string Values(const std::string &name) const;
  // Replaces the value of the first line with that name, appends a line if there is none, and
  // deletes the line when value is empty.
  void SetValue(const std::string &name, const std::string &value);
  int IndexOfName(const std::string &name) const;
  char NameValueSeparator = '=';

  // Nested calls; subclasses may defer work while an update is in progress.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

protected:
  // Comparison used by IndexOf, IndexOfName and sorting; ignores letter case by default.
  virtual int CompareStrings(const std::string &a, const std::string &b) const;
  virtual void SetUpdateState(bool /*updating*/) {}
  void CheckIndex(int index, int limit) const;

private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string &s) override;
  TObject *GetObject(int index) const override;
  void PutObject(int index, TObject *object) override;
  void InsertObject(int index, const std::string &s, TObject *object) override;
  void Delete(int index) override;
  void Clear() override;
  int AddObject(const std::string &s, TObject *object) override;
  int IndexOf(const std::string &s) const override;

  // A sorted list keeps its lines in CompareStrings order; Put and Insert are then refused.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

  // Binary search in a sorted list: true if found; index gets the position of the match or
  // of the insertion point.
  bool Find(const std::string &s, int &index) const;
  void Sort();

protected:
  int CompareStrings(const std::string &a, const std::string &b) const override;

private:
  struct Item {
    std::string text;
    TObject *object;
  };
  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};
