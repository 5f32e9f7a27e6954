// The root of the class hierarchy and the registry of live objects.
//
// Lists that outlive the objects they point to (the skin manager's forms, for one) ask
// TObject::IsLive before they touch an entry, so that an object freed elsewhere is skipped
// instead of read after its release.
#pragma once

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
};

// Objects that can be assigned from one another and carry published properties.
class TPersistent : public TObject {};
