// The root of the class hierarchy and the registry of live objects.
//
// Lists that outlive the objects they point to (the skin manager's forms, for one) ask
// TObject::IsLive before they touch an entry, so that an object freed elsewhere is skipped
// instead of read after its release.
#pragma once

#include <string>

class TObject {
public:
  TObject();
  TObject(const TObject &);
  TObject &operator=(const TObject &) = default;
  virtual ~TObject();

  // True while an object of this hierarchy lives at this address.
  static bool IsLive(const void *object);
  // Number of live objects: leak checks compare it across a piece of work.
  static int LiveCount();

  // The name of the most derived registered class this object belongs to (see typinfo.h);
  // "TObject" when no class of its line is registered.
  virtual std::string ClassName() const;
};

// Objects that can be assigned from one another and carry published properties.
class TPersistent : public TObject {};
