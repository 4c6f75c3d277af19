#include "nesting/nfp/NfpCachCalculator.h"

#include "common/ParallelFor.h"
#include "nesting/nfp/ComputeNfp.h"

#include <cstring>
#include <set>
#include <unordered_map>

namespace gantrel {

namespace {

template <typename T> void AppendBytes(std::string& out, const T& value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void AppendOutline(std::string& out, const NestPolygon& polygon) {
    AppendBytes(out, polygon.Size());
    AppendBytes(out, polygon.Rotation());
    for (const GePoint& p : polygon) {
        AppendBytes(out, p.x);
        AppendBytes(out, p.y);
    }
}

} // namespace

std::string NfpSignature(const Pair& pair, const NestSettings& settings) {
    std::string signature;
    signature.reserve(static_cast<std::size_t>(64 + 16 * (pair.a.Size() + pair.b.Size())));
    AppendBytes(signature, pair.inner);
    AppendBytes(signature, settings.orbiting);
    AppendBytes(signature, settings.integerScale);
    AppendOutline(signature, pair.a);
    AppendOutline(signature, pair.b);
    return signature;
}

NfpMap NfpCachCalculator::Calculate(const Pairs& batch) {
    m_batch = batch;
    if (m_sequential) {
        ComputeSequential();
    } else {
        ComputeParallel();
    }
    // The map is handed over rather than copied: nothing reads it after this call.
    return std::move(m_result);
}

void NfpCachCalculator::ComputeSequential() {
    Compute(true);
}

void NfpCachCalculator::ComputeParallel() {
    Compute(false);
}

void NfpCachCalculator::Compute(bool sequential) {
    m_result.clear();
    m_computed = 0;

    // On the calling thread: drop repeated keys, group pairs by signature, and find the
    // results already known.
    std::vector<int> pairs;             // batch indices kept
    std::vector<std::wstring> keyTexts; // per kept pair: its key text, empty without a key
    std::vector<int> workOfPair;        // per kept pair: index into work, or -1 when known
    std::vector<const Polygons*> known; // per kept pair: a known result, or null
    std::vector<Work> work;
    std::set<std::wstring> keys;
    std::unordered_map<std::string, int> workBySignature;
    for (int i = 0; i < m_batch.Size(); ++i) {
        const Pair& pair = m_batch[i];
        std::wstring key = pair.HasKey() ? pair.KeyText() : std::wstring();
        if (pair.HasKey() && !keys.insert(key).second) {
            continue;
        }
        pairs.push_back(i);
        keyTexts.push_back(std::move(key));
        std::string signature = m_shareWork ? NfpSignature(pair, m_settings) : std::string();
        const Polygons* stored =
            m_shareWork && m_shared != nullptr ? m_shared->Find(signature) : nullptr;
        if (stored != nullptr) {
            workOfPair.push_back(-1);
            known.push_back(stored);
            continue;
        }
        known.push_back(nullptr);
        if (m_shareWork) {
            const auto [it, added] =
                workBySignature.emplace(signature, static_cast<int>(work.size()));
            if (!added) {
                workOfPair.push_back(it->second);
                continue;
            }
        }
        workOfPair.push_back(static_cast<int>(work.size()));
        Work item;
        item.representative = i;
        item.signature = std::move(signature);
        work.push_back(std::move(item));
    }

    // Each iteration writes only its own, pre-created work item.
    const NestSettings& settings = m_settings;
    const Pairs& batch = m_batch;
    ParallelFor(
        0, static_cast<int>(work.size()),
        [&work, &settings, &batch](int w) {
            Work& item = work[static_cast<std::size_t>(w)];
            item.result = ComputeNfp(batch[item.representative], settings, &item.diagnostics);
        },
        sequential);
    m_computed = static_cast<int>(work.size());

    // Back on the calling thread: store, fill the map, report.
    if (m_shared != nullptr && m_shareWork) {
        for (const Work& item : work) {
            m_shared->Store(item.signature, item.result);
        }
    }
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const Pair& pair = m_batch[pairs[k]];
        const Polygons& result =
            workOfPair[k] >= 0 ? work[static_cast<std::size_t>(workOfPair[k])].result : *known[k];
        if (pair.HasKey()) {
            m_result.insert_or_assign(std::move(keyTexts[k]), result);
        }
        if (m_printer != nullptr && IsNfpError(pair, result)) {
            for (const std::wstring& line : NfpErrorLines(pair)) {
                m_printer->PrintText(line);
            }
        }
    }
    if (m_diagnostics != nullptr) {
        for (const Work& item : work) {
            item.diagnostics.DeliverTo(*m_diagnostics);
        }
    }
}

} // namespace gantrel
