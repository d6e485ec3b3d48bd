// Packing and installing an installer of 200 files totalling 50 MB.
#include "documents/ConFiles.h"
#include "documents/InsFiles.h"
#include "shell/Folders.h"
#include "shell/Packages.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gs;

namespace {

// A container of 200 text files of 256 KB each: words, so that they compress as lists do.
QString MakeSource(const QTemporaryDir& dir) {
  QRandomGenerator random(7);
  TConFile con;
  for (int f = 0; f < 200; ++f) {
    QByteArray text;
    text.reserve(262144);
    while (text.size() < 262144) text += "word" + QByteArray::number(random.bounded(100000)) + '\n';
    text.truncate(262144);
    const QString name = dir.filePath(QStringLiteral("list%1.txt").arg(f));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(text);
    auto item = std::make_unique<TItem>(ikFile);
    item->SetFileName(name);
    con.Root().AddChild(std::move(item));
  }
  const QString main = dir.filePath(QStringLiteral("lists.qpc"));
  con.SaveToFile(main);
  return main;
}

void BM_Pack200Files50MB(benchmark::State& state) {
  QTemporaryDir dir;
  const QString main = MakeSource(dir);
  for (auto _ : state) Pack(main, dir.filePath(QStringLiteral("lists.qpi")));
  state.counters["MB"] = double(QFile(dir.filePath(QStringLiteral("lists.qpi"))).size()) / (1024 * 1024);
}

void BM_Install200Files50MB(benchmark::State& state) {
  QTemporaryDir source, home;
  const QString installer = source.filePath(QStringLiteral("lists.qpi"));
  Pack(MakeSource(source), installer);
  SetFolders(TFolders::Resolve(home.path(), QString(), QStringLiteral("glossmith")));
  TPackages packages(nullptr, Folders().packagesDir);
  for (auto _ : state) packages.InstallFile(installer, true);
}

BENCHMARK(BM_Pack200Files50MB)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Install200Files50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
