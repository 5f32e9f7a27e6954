#include "framework/core/objects.h"
#include "framework/core/typinfo.h"

#include <unordered_set>

namespace {

std::unordered_set<const void *> &LiveObjects() {
  static std::unordered_set<const void *> live;
  return live;
}

} // namespace

TObject::TObject() {
  LiveObjects().insert(this);
}
TObject::TObject(const TObject &) {
  LiveObjects().insert(this);
}
TObject::~TObject() {
  LiveObjects().erase(this);
}

bool TObject::IsLive(const void *object) {
  return object != nullptr && LiveObjects().count(object) != 0;
}

int TObject::LiveCount() {
  return static_cast<int>(LiveObjects().size());
}

std::string TObject::ClassName() const {
  const TClassInfo *info = ClassInfoOf(this);
  return info != nullptr ? info->Name() : std::string("TObject");
}
