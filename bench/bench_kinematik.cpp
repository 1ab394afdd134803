// Speed of one kinematics step: 8 running motors, a long gear chain with rigid and
// rotation/translation branches, 100 collision rules, in a model of thousands of parts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "motion/u_kinematik.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

class TKineBench {
public:
    TKineBench(int linkCount, int partCount) {
        BuildMainScene(m_scene);
        TDummyCube& root = *m_scene.PartsRoot();
        for (int i = 0; i < partCount; ++i) {
            TFreeForm& part = root.AddNewChild<TFreeForm>("F40704_" + std::to_string(i + 1));
            part.SetPosition({static_cast<float>(i % 50), 0, static_cast<float>(i / 50)});
        }
        // The chain: gear links between consecutive parts; every fifth gear carries a part on
        // a rigid link, every seventh drives a slide.
        int next = 0;
        const auto name = [](int i) { return "F40704_" + std::to_string(i + 1); };
        int chainPart = next++;
        while (static_cast<int>(m_links.size()) < linkCount) {
            const int gear = next++;
            TKineData link;
            link.Modus = kKineRotRot;
            link.Bauteil1 = name(chainPart);
            link.Bauteil2 = name(gear);
            link.Rotation1 = kAxisRollP;
            link.Rotation2 = kAxisRollN;
            link.Z1 = 10 + gear % 30;
            link.Z2 = 10 + chainPart % 30;
            m_links.push_back(link);
            m_chain.push_back(gear);
            if (gear % 5 == 0 && static_cast<int>(m_links.size()) < linkCount) {
                TKineData rigid;
                rigid.Modus = kKineRotFest;
                rigid.Bauteil1 = name(gear);
                rigid.Bauteil2 = name(next++);
                m_links.push_back(rigid);
            }
            if (gear % 7 == 0 && static_cast<int>(m_links.size()) < linkCount) {
                TKineData screw;
                screw.Modus = kKineRotTrans;
                screw.Bauteil1 = name(gear);
                screw.Bauteil2 = name(next++);
                screw.DZ = 5;
                m_links.push_back(screw);
            }
            chainPart = gear;
        }
        // Eight motors along the chain, each driving the whole chain both ways.
        for (int n = 1; n <= kMotorCount; ++n) {
            const int at = m_chain[m_chain.size() * static_cast<size_t>(n - 1) / kMotorCount];
            m_motors.Motor(n) = {1, 1 + n, n % 2 == 0 ? 1 : 2, name(at), 0};
        }
        for (int i = 0; i < 100; ++i) {
            TCollData rule;
            rule.ObjName1 = name((i * 37) % partCount);
            rule.ObjName2 = name((i * 91 + 13) % partCount);
            rule.Abstand = 0.001f;  // never closer: the motors keep running
            rule.Aktion = i % 5;
            rule.Param1 =
                rule.Aktion == 4 ? "Regel" + std::to_string(i) : std::to_string(1 + i % 8);
            m_rules.push_back(rule);
        }
        m_kine = std::make_unique<TKinematik>(
            m_links, m_motors, m_rules, m_panels,
            [&root](std::string_view n) { return root.FindChild(n, false); },
            [this] { return m_scene.Versions().Structure; });
        m_kine->Start();
    }
    TKinematik& Kine() { return *m_kine; }
    size_t LinkCount() const { return m_links.size(); }

private:
    TScene m_scene;
    std::vector<TKineData> m_links;
    std::vector<int> m_chain;
    TMotors m_motors;
    std::vector<TCollData> m_rules;
    TMotorPanels m_panels;
    std::unique_ptr<TKinematik> m_kine;
};

void BM_KinematikStep(benchmark::State& state) {
    const int links = static_cast<int>(state.range(0));
    TKineBench bench(links, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        bench.Kine().DoKinematik();
    }
    state.counters["links"] = static_cast<double>(bench.LinkCount());
}

}  // namespace

BENCHMARK(BM_KinematikStep)->Args({500, 2000})->Args({5000, 6000})->Unit(benchmark::kMicrosecond);
