// The renderer's shader programs and their uniform locations.
#include "view/r_programs.h"

namespace kx {

namespace {

// The per-instance world matrix arrives as three rows; normals go through its cofactor matrix,
// which is the inverse transpose up to a factor that normalising removes.
const char* const kSurfaceVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec4 aRow0;
layout(location = 4) in vec4 aRow1;
layout(location = 5) in vec4 aRow2;
layout(location = 6) in vec4 aDiffuse;
layout(location = 7) in vec4 aEmission;
layout(location = 8) in vec4 aAmbient;
uniform mat4 uViewProj;
out vec3 vWorld;
out vec3 vNormal;
out vec2 vTexCoord;
flat out vec4 vDiffuse;
flat out vec3 vEmission;
flat out vec3 vAmbient;
void main() {
    vec4 p = vec4(aPosition, 1.0);
    vWorld = vec3(dot(aRow0, p), dot(aRow1, p), dot(aRow2, p));
    vec3 c0 = vec3(aRow0.x, aRow1.x, aRow2.x);
    vec3 c1 = vec3(aRow0.y, aRow1.y, aRow2.y);
    vec3 c2 = vec3(aRow0.z, aRow1.z, aRow2.z);
    vec3 x12 = cross(c1, c2);
    float s = dot(c0, x12) < 0.0 ? -1.0 : 1.0;
    vNormal = s * (mat3(x12, cross(c2, c0), cross(c0, c1)) * aNormal);
    vTexCoord = aTexCoord;
    vDiffuse = aDiffuse;
    vEmission = aEmission.rgb;
    vAmbient = aAmbient.rgb;
    gl_Position = uViewProj * vec4(vWorld, 1.0);
}
)";

// Equivalent to the classic fixed-function model with point lights: emission, ambient,
// diffuse and specular terms per light, each scaled by its attenuation; both sides lit.
const char* const kSurfaceFragment = R"(#version 330 core
in vec3 vWorld;
in vec3 vNormal;
in vec2 vTexCoord;
flat in vec4 vDiffuse;
flat in vec3 vEmission;
flat in vec3 vAmbient;
uniform vec3 uSceneAmbient;
uniform vec3 uEye;
uniform int uLightCount;
uniform vec3 uLightPos[8];
uniform vec3 uLightAmbient[8];
uniform vec3 uLightDiffuse[8];
uniform vec3 uLightSpecular[8];
uniform vec3 uLightAtten[8];
uniform vec3 uSpecular;
uniform float uShininess;
uniform bool uLighting;
uniform bool uUseTexture;
uniform float uAlphaCut;
uniform sampler2D uTexture;
uniform vec4 uFlatColor;
out vec4 fragColor;
void main() {
    vec4 color;
    if (uFlatColor.a > 0.0) {
        color = vec4(uFlatColor.rgb, 1.0);
    } else if (!uLighting) {
        color = vDiffuse;
    } else {
        vec3 n = normalize(vNormal);
        if (!gl_FrontFacing) {
            n = -n;
        }
        vec3 v = normalize(uEye - vWorld);
        vec3 ambient = uSceneAmbient;
        vec3 diffuse = vec3(0.0);
        vec3 specular = vec3(0.0);
        bool withSpecular = uSpecular != vec3(0.0);
        for (int i = 0; i < uLightCount; ++i) {
            vec3 l = uLightPos[i] - vWorld;
            float d = length(l);
            l = d > 0.0 ? l / d : n;
            vec3 a = uLightAtten[i];
            float att = 1.0 / max(a.x + a.y * d + a.z * d * d, 1e-6);
            ambient += att * uLightAmbient[i];
            float nl = max(dot(n, l), 0.0);
            diffuse += (att * nl) * uLightDiffuse[i];
            if (withSpecular && nl > 0.0) {
                float nh = max(dot(n, normalize(l + v)), 0.0);
                specular += att * pow(nh, max(uShininess, 0.0001)) * uLightSpecular[i];
            }
        }
        color = vec4(clamp(vEmission + ambient * vAmbient + diffuse * vDiffuse.rgb +
                               specular * uSpecular, 0.0, 1.0), vDiffuse.a);
    }
    if (uUseTexture) {
        vec4 texel = texture(uTexture, vTexCoord);
#ifdef KX_ALPHA_CUT
        if (texel.a < uAlphaCut) {
            discard;
        }
#endif
        color *= texel;
    }
    fragColor = color;
}
)";

const char* const kPositionVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 3) in vec4 aRow0;
layout(location = 4) in vec4 aRow1;
layout(location = 5) in vec4 aRow2;
uniform mat4 uViewProj;
void main() {
    vec4 p = vec4(aPosition, 1.0);
    gl_Position = uViewProj * vec4(dot(aRow0, p), dot(aRow1, p), dot(aRow2, p), 1.0);
}
)";

// A core context draws no line wider than one pixel, so each edge of a back face becomes a
// quad in screen space, reaching HalfWidth pixels to either side and past either end.
const char* const kOutlineGeometry = R"(#version 330 core
layout(triangles) in;
layout(triangle_strip, max_vertices = 12) out;
uniform vec2 uViewport;
uniform float uHalfWidth;
uniform float uFrontSign;
void Edge(vec4 a, vec4 b) {
    vec2 sa = a.xy / a.w * 0.5 * uViewport;
    vec2 sb = b.xy / b.w * 0.5 * uViewport;
    vec2 d = sb - sa;
    float len = length(d);
    if (len < 1e-4) {
        return;
    }
    d /= len;
    vec2 n = vec2(-d.y, d.x);
    vec2 toClip = 2.0 / uViewport;
    vec2 ea = (-d * uHalfWidth) * toClip;
    vec2 eb = (d * uHalfWidth) * toClip;
    vec2 side = (n * uHalfWidth) * toClip;
    gl_Position = vec4(a.xy + (ea + side) * a.w, a.zw); EmitVertex();
    gl_Position = vec4(a.xy + (ea - side) * a.w, a.zw); EmitVertex();
    gl_Position = vec4(b.xy + (eb + side) * b.w, b.zw); EmitVertex();
    gl_Position = vec4(b.xy + (eb - side) * b.w, b.zw); EmitVertex();
    EndPrimitive();
}
void main() {
    vec4 p0 = gl_in[0].gl_Position;
    vec4 p1 = gl_in[1].gl_Position;
    vec4 p2 = gl_in[2].gl_Position;
    if (p0.w <= 1e-5 || p1.w <= 1e-5 || p2.w <= 1e-5) {
        return;
    }
    vec2 s0 = p0.xy / p0.w, s1 = p1.xy / p1.w, s2 = p2.xy / p2.w;
    float area = (s1.x - s0.x) * (s2.y - s0.y) - (s2.x - s0.x) * (s1.y - s0.y);
    if (area * uFrontSign >= 0.0) {
        return;
    }
    Edge(p0, p1);
    Edge(p1, p2);
    Edge(p2, p0);
}
)";

const char* const kOutlineFragment = R"(#version 330 core
uniform vec4 uColor;
out vec4 fragColor;
void main() { fragColor = uColor; }
)";

const char* const kLineVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
uniform mat4 uViewProj;
out vec4 vColor;
void main() {
    vColor = aColor;
    gl_Position = uViewProj * vec4(aPosition, 1.0);
}
)";

const char* const kWideLineGeometry = R"(#version 330 core
layout(lines) in;
layout(triangle_strip, max_vertices = 4) out;
in vec4 vColor[];
out vec4 gColor;
uniform vec2 uViewport;
uniform float uHalfWidth;
void main() {
    vec4 a = gl_in[0].gl_Position;
    vec4 b = gl_in[1].gl_Position;
    if (a.w <= 1e-5 || b.w <= 1e-5) {
        return;
    }
    vec2 d = b.xy / b.w * uViewport - a.xy / a.w * uViewport;
    float len = length(d);
    d = len < 1e-4 ? vec2(1.0, 0.0) : d / len;
    vec2 side = vec2(-d.y, d.x) * uHalfWidth * 2.0 / uViewport;
    gColor = vColor[0]; gl_Position = vec4(a.xy + side * a.w, a.zw); EmitVertex();
    gColor = vColor[0]; gl_Position = vec4(a.xy - side * a.w, a.zw); EmitVertex();
    gColor = vColor[1]; gl_Position = vec4(b.xy + side * b.w, b.zw); EmitVertex();
    gColor = vColor[1]; gl_Position = vec4(b.xy - side * b.w, b.zw); EmitVertex();
    EndPrimitive();
}
)";

const char* const kLineFragment = R"(#version 330 core
in vec4 vColor;
out vec4 fragColor;
void main() { fragColor = vColor; }
)";

const char* const kWideLineFragment = R"(#version 330 core
in vec4 gColor;
out vec4 fragColor;
void main() { fragColor = gColor; }
)";

/// The source with a definition after its version line.
std::string WithDefine(const char* source, const char* name) {
    std::string text = source;
    const size_t line = text.find('\n') + 1;
    return text.insert(line, "#define " + std::string(name) + "\n");
}

void LocateSurfaceUniforms(TGlSurfaceProgram& p) {
    const GLuint s = p.Program.Get();
    p.ViewProj = glGetUniformLocation(s, "uViewProj");
    p.SceneAmbient = glGetUniformLocation(s, "uSceneAmbient");
    p.Eye = glGetUniformLocation(s, "uEye");
    p.LightCount = glGetUniformLocation(s, "uLightCount");
    p.LightPos = glGetUniformLocation(s, "uLightPos");
    p.LightAmbient = glGetUniformLocation(s, "uLightAmbient");
    p.LightDiffuse = glGetUniformLocation(s, "uLightDiffuse");
    p.LightSpecular = glGetUniformLocation(s, "uLightSpecular");
    p.LightAtten = glGetUniformLocation(s, "uLightAtten");
    p.Specular = glGetUniformLocation(s, "uSpecular");
    p.Shininess = glGetUniformLocation(s, "uShininess");
    p.Lighting = glGetUniformLocation(s, "uLighting");
    p.UseTexture = glGetUniformLocation(s, "uUseTexture");
    p.AlphaCut = glGetUniformLocation(s, "uAlphaCut");
    p.Texture = glGetUniformLocation(s, "uTexture");
    p.FlatColor = glGetUniformLocation(s, "uFlatColor");
}

}  // namespace

bool TGlPrograms::Build(std::string& error) {
    Surface.Program = BuildGlProgram(kSurfaceVertex, nullptr, kSurfaceFragment, error);
    SurfaceCut.Program = BuildGlProgram(
        kSurfaceVertex, nullptr, WithDefine(kSurfaceFragment, "KX_ALPHA_CUT").c_str(), error);
    Outline.Program = BuildGlProgram(kPositionVertex, kOutlineGeometry, kOutlineFragment, error);
    Lines.Program = BuildGlProgram(kLineVertex, nullptr, kLineFragment, error);
    WideLines.Program = BuildGlProgram(kLineVertex, kWideLineGeometry, kWideLineFragment, error);
    if (!Surface.Program || !SurfaceCut.Program || !Outline.Program || !Lines.Program ||
        !WideLines.Program) {
        return false;
    }
    LocateSurfaceUniforms(Surface);
    LocateSurfaceUniforms(SurfaceCut);

    const GLuint o = Outline.Program.Get();
    Outline.ViewProj = glGetUniformLocation(o, "uViewProj");
    Outline.Viewport = glGetUniformLocation(o, "uViewport");
    Outline.HalfWidth = glGetUniformLocation(o, "uHalfWidth");
    Outline.FrontSign = glGetUniformLocation(o, "uFrontSign");
    Outline.Color = glGetUniformLocation(o, "uColor");

    for (TGlLineProgram* p : {&Lines, &WideLines}) {
        const GLuint l = p->Program.Get();
        p->ViewProj = glGetUniformLocation(l, "uViewProj");
        p->Viewport = glGetUniformLocation(l, "uViewport");
        p->HalfWidth = glGetUniformLocation(l, "uHalfWidth");
    }
    return true;
}

}  // namespace kx
