// Checked access to the JSON of a text form: every fault raises ETextForm with the JSON path of
// the value at fault. Shared by the builders of dictionaries, collections and containers.
#pragma once

#include "model/DicTextForm.h"

#include <cmath>
#include <initializer_list>

namespace gs::textform {

[[noreturn]] inline void Fail(const QString& path, const QString& message) {
  throw ETextForm(path, message);
}

inline QString Join(const QString& path, QStringView key) {
  return path.isEmpty() ? key.toString() : path + u'.' + key.toString();
}

inline QString Index(const QString& path, qsizetype i) {
  return path + u'[' + QString::number(i) + u']';
}

inline const TJsonValue& Object(const TJsonValue& v, const QString& path) {
  if (!v.IsObject()) Fail(path, QStringLiteral("expected an object"));
  return v;
}

inline const std::vector<TJsonValue>& Array(const TJsonValue& v, const QString& path) {
  if (!v.IsArray()) Fail(path, QStringLiteral("expected an array"));
  return v.Array();
}

inline QString Text(const TJsonValue& v, const QString& path) {
  if (!v.IsString()) Fail(path, QStringLiteral("expected a text"));
  return v.String();
}

inline bool Bool(const TJsonValue& v, const QString& path) {
  if (!v.IsBool()) Fail(path, QStringLiteral("expected true or false"));
  return v.Bool();
}

inline qint64 Integer(const TJsonValue& v, const QString& path, qint64 low, qint64 high) {
  if (!v.IsNumber() || v.Number() != std::floor(v.Number()) || v.Number() < double(low) || v.Number() > double(high))
    Fail(path, QStringLiteral("expected a whole number from %1 to %2").arg(low).arg(high));
  return qint64(v.Number());
}

// Unknown keys are faults, so that a misspelt key is never silently ignored.
inline void CheckKeys(const TJsonValue& obj, const QString& path, std::initializer_list<const char16_t*> allowed) {
  for (const auto& [key, value] : obj.Members()) {
    bool known = false;
    for (const char16_t* a : allowed) known = known || key == QStringView(a);
    if (!known) Fail(Join(path, key), QStringLiteral("unknown key \"%1\"").arg(key));
  }
}

// Members that may be left out: false, the empty text, no items.
inline bool OptionalBool(const TJsonValue& obj, QStringView key, const QString& path) {
  const TJsonValue* v = obj.Find(key);
  return v && Bool(*v, Join(path, key));
}

inline QString OptionalText(const TJsonValue& obj, QStringView key, const QString& path) {
  const TJsonValue* v = obj.Find(key);
  return v ? Text(*v, Join(path, key)) : QString();
}

inline const std::vector<TJsonValue>& OptionalArray(const TJsonValue& obj, QStringView key, const QString& path) {
  static const std::vector<TJsonValue> none;
  const TJsonValue* v = obj.Find(key);
  return v ? Array(*v, Join(path, key)) : none;
}

inline QString RequiredText(const TJsonValue& obj, QStringView key, const QString& path) {
  const TJsonValue* v = obj.Find(key);
  if (!v) Fail(path, QStringLiteral("missing \"%1\"").arg(key));
  return Text(*v, Join(path, key));
}

// The member "guid" when present; false when there is none.
inline bool OptionalGuid(const TJsonValue& obj, TGuid& guid) {
  const TJsonValue* g = obj.Find(u"guid");
  if (!g) return false;
  if (!GuidFromString(Text(*g, QStringLiteral("guid")), guid)) Fail(QStringLiteral("guid"), QStringLiteral("not a GUID"));
  return true;
}

} // namespace gs::textform
