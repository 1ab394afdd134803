// Test fixture of the model core: program folder, scene, caches, settings and recording ports.
#include "model_fixture.h"

#include "catalogue/u_normals.h"

using namespace kx;

namespace kxtest {

TMesh TestMesh(int facets, float size) {
    TMesh m;
    for (int i = 0; i < facets; ++i) {
        const float z = static_cast<float>(i);
        m.Positions.insert(m.Positions.end(), {{0, 0, z}, {size, 0, z}, {0, size, z}});
        m.Normals.insert(m.Normals.end(), {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    }
    return m;
}

namespace {

void WriteDefinition(const std::filesystem::path& prog, TDefObj def, bool withMesh) {
    ASSERT_TRUE(SaveDefinition(def, prog / "def" / (def.Number + ".def")));
    if (withMesh) {
        ASSERT_TRUE(WriteStlFile(prog / "hires" / (def.Number + ".stl"),
                                 TestMesh(static_cast<int>(def.Number.size()), 10)));
    }
}

}  // namespace

ModelTest::ModelTest() : m_files(m_dir.Path() / "prog", m_dir.Path() / "user") {
    m_previousParam = SetParam(std::make_unique<TkxParam>(
        std::vector<std::string>{}, m_dir.Path() / "config", m_dir.Path() / "sysconfig"));

    const auto prog = m_dir.Path() / "prog";
    TDefObj red;
    red.Number = "31010";
    red.Red = 255;
    red.Green = 0;
    red.Blue = 0;
    red.OrgNumber = "31010";
    red.Name = "Baustein 30";
    red.NameDe = red.Name;
    red.Group = 1;
    red.Printable = 1;
    red.KineRot = 2;
    red.Teeth = 7;
    TConn a;
    a.Typ = 0;
    a.Thick = 4;
    a.X = 15;
    TConn b;
    b.Typ = 1;
    b.Thick = 4;
    b.Y = 15;
    b.PF = 90;
    red.Conns = {a, b};
    WriteDefinition(prog, red, true);

    TDefObj glass;
    glass.Number = "32064";
    glass.Red = 0;
    glass.Green = 0;
    glass.Blue = 200;
    glass.Alpha = 0.5;
    glass.OrgNumber = "32064";
    glass.OffsetX = 1;
    glass.OffsetY = 2;
    glass.OffsetZ = 3;
    WriteDefinition(prog, glass, true);

    TDefObj textured;
    textured.Number = "38423";
    textured.Texture = "holz.bmp";
    textured.TxWidth = 10;
    WriteDefinition(prog, textured, true);
    WriteFile(prog / "icon" / "holz.bmp", "BM");

    TDefObj body;
    body.Number = "COL01";
    WriteDefinition(prog, body, true);

    TDefObj meshless;
    meshless.Number = "99999";
    WriteDefinition(prog, meshless, false);

    BuildMainScene(m_scene);
    m_model = std::make_unique<TkxMain>(m_scene, m_files, m_defs, m_meshes);
    m_model->SetView(&m_ports);
    m_model->SetPartsTreeView(&m_ports);
    m_model->SetCoordinatesView(&m_ports);
    m_model->DeleteAll();
    m_ports.Events.clear();
}

ModelTest::~ModelTest() {
    m_model.reset();
    SetParam(std::move(m_previousParam));
}

std::string ModelTest::Add(const std::string& number, const std::string& wanted) {
    const std::string name = m_model->AddBaustein(number, wanted);
    EXPECT_FALSE(name.empty()) << "part " << number << " was not placed";
    return name;
}

TFreeForm* ModelTest::Object(const std::string& name) const {
    TSceneObject* o = m_scene.PartsRoot()->FindChild(name, false);
    return o && o->Kind() == TSceneObjectKind::FreeForm ? static_cast<TFreeForm*>(o) : nullptr;
}

TMaterialPtr ModelTest::LibMaterial(const std::string& name) const {
    return m_scene.MaterialLibrary().Find(TMaterialLibrary::PartMaterialName(name));
}

uint32_t ModelTest::ObjectColour(const std::string& name) const {
    return ColorToWin(Object(name)->Material().Diffuse().Rgb());
}

uint32_t ModelTest::LibColour(const std::string& name) const {
    return ColorToWin(LibMaterial(name)->Diffuse().Rgb());
}

void ModelTest::MoveAndRefresh(const std::string& name, const TVector3f& position) {
    Object(name)->SetPosition(position);
    m_model->RefreshBauteil(name, false, -1);
}

std::vector<std::string> ModelTest::PartNames() const {
    std::vector<std::string> names;
    for (const auto& r : m_model->Parts()) {
        names.push_back(r->Name());
    }
    return names;
}

std::vector<std::string> ModelTest::TreeTexts() const {
    std::vector<std::string> texts;
    for (const auto& phase : m_model->PartsTree().Nodes()) {
        texts.push_back(phase.Text);
        for (const auto& part : phase.Children) {
            texts.push_back("  " + part.Text);
        }
    }
    return texts;
}

}  // namespace kxtest
