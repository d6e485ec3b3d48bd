// The dictionary file: its info block (header, Blocked, variables), links and node tree.
#pragma once

#include "formats/File.h"
#include "model/DicNodes.h"
#include "model/Functions.h"
#include "model/Links.h"
#include "model/Values.h"

#include <array>
#include <bitset>
#include <functional>
#include <memory>

namespace gs {

class TDicFile;

class TDicInfo : public TInfo {
public:
  explicit TDicInfo(TDicFile* file, bool noVersionCheck = false);  // file: not owned, may be null

  TSignature GetSignature() const override { return {'Q', 'D', 'X'}; }
  TVersion GetVersion() const override { return {2, 3}; }
  void AssignExtra(const TInfo& source) override;
  void ReadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void WriteToStream(TStreamWriter& stream, const QString& baseFolder) const override;

  bool Blocked() const { return m_blocked; }
  void SetBlocked(bool blocked);
  TVariables& Variables() { return *m_variables; }
  const TVariables& Variables() const { return *m_variables; }
  TDicFile* File() const { return m_file; }

private:
  void ReadLegacyFields(TStreamReader& stream);

  TDicFile* m_file;
  bool m_blocked = false;
  std::unique_ptr<TVariables> m_variables;
};

class TDicFile : public TFile {
public:
  using TNodeNotify = std::function<void(TDicFile&, TDicNode&)>;
  // Called before a node is taken out; returns where the subscriber keeps the node.
  using TNodeDeleteNotify = std::function<std::unique_ptr<TDicNode>*(TDicFile&, TDicNode&)>;
  using THintNotify = std::function<void(TDicFile&, TDicNode&, const TLangStr&)>;
  using TByteNotify = std::function<void(TDicFile&, TDicNode&, quint8)>;
  using TBoolNotify = std::function<void(TDicFile&, TDicNode&, bool)>;

  TDicFile();
  ~TDicFile() override;
  TDicFile(const TDicFile&) = delete;  // the tree and the links point back at their file
  TDicFile& operator=(const TDicFile&) = delete;

  TInfo& GetInfo() override { return m_info; }
  TDicInfo& Info() { return m_info; }
  const TDicInfo& Info() const { return m_info; }
  TLinks& Links() { return m_links; }
  const TLinks& Links() const { return m_links; }
  TDicNode& Root() { return *m_root; }
  const TDicNode& Root() const { return *m_root; }

  // Request codes of request nodes inserted since the object was created.
  const std::bitset<MaxRecordedRequest + 1>& RequestSet() const { return m_requestSet; }
  bool HasRequest(int code) const { return code >= 0 && code <= MaxRecordedRequest && m_requestSet[code]; }
  void RecordRequest(int code);
  // The enabled request nodes of a code, in tree order; kept until the tree changes.
  const std::vector<TDicNode*>& RequestNodes(int code) const {
    if (m_requestNodesAt != TreeRevision()) CollectRequestNodes();
    return m_requestNodes[size_t(code)];
  }

  void LoadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void SaveToStream(TStreamWriter& stream, const QString& baseFolder) const override;

  TNodeNotify OnNodeInsert;
  TNodeDeleteNotify OnNodeDelete;
  TNodeNotify OnValue1Change;
  TNodeNotify OnValue2Change;
  THintNotify OnHintChange;
  TByteNotify OnOptionChange;
  TNodeNotify OnValue1Changing;
  TNodeNotify OnValue2Changing;
  TBoolNotify OnDisabledChange;

private:
  TDicInfo m_info;
  mutable TLinks m_links;  // saving renumbers them
  std::unique_ptr<TDicNode> m_root;
  std::bitset<MaxRecordedRequest + 1> m_requestSet;
  [[gnu::cold]] void CollectRequestNodes() const;  // once per tree change
  mutable std::array<std::vector<TDicNode*>, MaxRecordedRequest + 1> m_requestNodes;
  mutable quint64 m_requestNodesAt = 0;
};

} // namespace gs
