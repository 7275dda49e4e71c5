#include "archive/ArchiveContainers.h"

#include <benchmark/benchmark.h>

namespace {
class CBenchRecord : public CObject {
public:
    static const ArchiveClass kClass;
    const ArchiveClass& GetArchiveClass() const override { return kClass; }
    void Serialize(CObjectArchive& ar) override {
        ar.Exchange(m_strName);
        SerializeWordArray(ar, m_points);
    }
    std::string m_strName = "a layer with a name";
    std::vector<std::uint32_t> m_points = std::vector<std::uint32_t>(16, 7);
};
const ArchiveClass CBenchRecord::kClass{"CBenchRecord", 1, &MakeArchiveObject<CBenchRecord>};

std::vector<std::uint8_t> StoredRecords(int count) {
    std::vector<std::unique_ptr<CBenchRecord>> records;
    for (int i = 0; i < count; ++i)
        records.push_back(std::make_unique<CBenchRecord>());
    CObjectArchive ar;
    SerializeObjects(ar, records);
    return ar.Bytes();
}

// A library-sized archive: thousands of small records with strings and word arrays.
void BM_StoreRecords(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(StoredRecords(static_cast<int>(state.range(0))));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StoreRecords)->Arg(10000);

void BM_LoadRecords(benchmark::State& state) {
    ClassRegistry::Register(CBenchRecord::kClass);
    std::vector<std::uint8_t> bytes = StoredRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CObjectArchive ar(bytes);
        std::vector<std::unique_ptr<CBenchRecord>> records;
        SerializeObjects(ar, records);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadRecords)->Arg(10000);
} // namespace
