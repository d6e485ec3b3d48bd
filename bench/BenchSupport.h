// Benchmark support: the dictionaries that several benchmarks generate from.
#pragma once

#include "model/DicTextForm.h"

#include <QTemporaryDir>

namespace gs {

// Two words of 2 or 3 syllables drawn from 16, one blank between.
inline constexpr char kSyllableRequests[] = R"(
  {"request": "Word Count", "children": [{"kind": "answer", "value": "2"}]},
  {"request": "Part Count", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "2"}, {"kind": "answer", "value": "3"}]}]},
  {"request": "Part", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "ka"}, {"kind": "answer", "value": "lo"}, {"kind": "answer", "value": "mir"},
    {"kind": "answer", "value": "an"}, {"kind": "answer", "value": "thal"}, {"kind": "answer", "value": "el"},
    {"kind": "answer", "value": "dor"}, {"kind": "answer", "value": "ri"}, {"kind": "answer", "value": "sa"},
    {"kind": "answer", "value": "ven"}, {"kind": "answer", "value": "gal"}, {"kind": "answer", "value": "os"},
    {"kind": "answer", "value": "bre"}, {"kind": "answer", "value": "nu"}, {"kind": "answer", "value": "ith"},
    {"kind": "answer", "value": "wy"}]}]},
  {"request": "Spacer", "children": [{"kind": "answer", "value": " ", "children": [
    {"kind": "condition", "value": {"call": "Word Index"}, "value2": "1"}]}]})";

// The syllable requests and more (text form nodes, each led by a comma).
inline QString SyllableDictionary(const char* more) {
  return QStringLiteral("{\"nodes\": [") + QString::fromUtf8(kSyllableRequests) + QString::fromUtf8(more) +
         QStringLiteral("]}");
}

// Builds a text form into a dictionary file in dir.
inline QString SaveDictionary(const QString& json, const QTemporaryDir& dir) {
  const QString file = dir.filePath(QStringLiteral("bench.qdx"));
  TDicFile dic;
  BuildDictionary(ParseJson(json), dir.path(), dic);
  dic.SaveToFile(file);
  return file;
}

} // namespace gs
