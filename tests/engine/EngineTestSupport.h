// Test support: dictionaries written as text forms, saved to files and generated from.
#pragma once

#include "engine/Generator.h"
#include "engine/Random.h"
#include "model/DicTextForm.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gs {

class TEngineTest : public testing::Test {
protected:
  // Builds the dictionary of a text form into a new file and returns its path.
  QString Dictionary(const char* json) {
    TDicFile dic;
    BuildDictionary(ParseJson(QString::fromUtf8(json)), m_dir.path(), dic);
    const QString file = m_dir.filePath(QStringLiteral("d%1.qdx").arg(++m_count));
    dic.SaveToFile(file);
    return file;
  }

  // The lines of a generator set to the dictionary; a stopped line gives "<stopped>".
  std::vector<QString> Lines(const char* json, int count, quint32 seed = 1, const TNameValues& params = {}) {
    TGenerator g;
    g.Timeout = 200;
    g.SetFileName(Dictionary(json));
    bool stopped = false;
    g.OnStop = [&](TGenerator&) { stopped = true; };
    std::vector<QString> lines;
    RandomSeed(seed);
    for (int i = 0; i < count; ++i) {
      stopped = false;
      TLineResult r;
      g.Generate(params, r);
      lines.push_back(stopped ? QStringLiteral("<stopped>") : r.text);
    }
    return lines;
  }

  QString Line(const char* json) { return Lines(json, 1).front(); }

  QTemporaryDir m_dir;
  int m_count = 0;
};

} // namespace gs
