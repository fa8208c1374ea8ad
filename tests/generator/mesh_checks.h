// Checks shared by the generator tests, written independently of the generator: edge-manifold
// closure and orientation of an indexed triangle mesh, and a strict reader of the scene file that
// complains about anything the viewer's reader would take differently from what was meant.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace generator_test {

using Vertex = std::array<double, 3>;
using Triangle = std::array<int, 3>;

struct IndexedMesh {
  std::string name;
  std::vector<Vertex> vertices;
  std::vector<Triangle> faces;
  std::vector<std::string> materials;  // one per face
};

inline Vertex Sub(const Vertex& a, const Vertex& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline Vertex CrossOf(const Vertex& a, const Vertex& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double DotOf(const Vertex& a, const Vertex& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

struct Closure {
  int badIndices = 0;                    // faces naming a vertex that does not exist, or one twice
  int unpairedEdges = 0;                 // directed edges without exactly one opposite partner
  int repeatedEdges = 0;                 // directed edges used by more than one face
  int degenerateFaces = 0;               // faces with an area below 1e-9
  std::vector<double> componentVolumes;  // signed volume of each connected piece
  bool Closed() const { return badIndices == 0 && unpairedEdges == 0 && repeatedEdges == 0; }
  bool AllOutward() const {
    for (double v : componentVolumes)
      if (!(v > 0.0)) return false;
    return !componentVolumes.empty();
  }
};

inline Closure CheckClosure(const IndexedMesh& m) {
  Closure c;
  const int n = static_cast<int>(m.vertices.size());
  std::map<std::pair<int, int>, int> directed;
  std::vector<int> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  auto find = [&](int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
  };
  for (const Triangle& f : m.faces) {
    bool valid = f[0] != f[1] && f[1] != f[2] && f[0] != f[2];
    for (int k = 0; k < 3; ++k) valid = valid && f[k] >= 0 && f[k] < n;
    if (!valid) {
      ++c.badIndices;
      continue;
    }
    for (int k = 0; k < 3; ++k) {
      ++directed[{f[k], f[(k + 1) % 3]}];
      parent[find(f[k])] = find(f[(k + 1) % 3]);
    }
    Vertex normal =
        CrossOf(Sub(m.vertices[f[1]], m.vertices[f[0]]), Sub(m.vertices[f[2]], m.vertices[f[1]]));
    if (0.5 * std::sqrt(DotOf(normal, normal)) < 1e-9) ++c.degenerateFaces;
  }
  for (const auto& [edge, count] : directed) {
    if (count > 1) ++c.repeatedEdges;
    auto back = directed.find({edge.second, edge.first});
    if (back == directed.end() || back->second != 1) ++c.unpairedEdges;
  }
  std::map<int, double> volumes;
  for (const Triangle& f : m.faces) {
    if (f[0] < 0 || f[0] >= n || f[1] < 0 || f[1] >= n || f[2] < 0 || f[2] >= n) continue;
    volumes[find(f[0])] +=
        DotOf(m.vertices[f[0]], CrossOf(m.vertices[f[1]], m.vertices[f[2]])) / 6.0;
  }
  for (const auto& [root, volume] : volumes) c.componentVolumes.push_back(volume);
  return c;
}

// Reads the scene file as the viewer's reader would, but refuses every line that the reader
// would take in a way the writer cannot have meant (a lost face, a shifted material name, a
// header out of the first column, a blank line inside an object, an overlong line).
inline bool ParseScene(const std::string& text, std::vector<IndexedMesh>& objects,
                       std::string& problem) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  auto fail = [&](size_t i, const std::string& why) {
    problem = "line " + std::to_string(i + 1) + ": " + why + ": '" +
              (i < lines.size() ? lines[i] : "") + "'";
    return false;
  };
  auto strip = [](const std::string& s) {
    size_t k = s.find_first_not_of(" \t");
    return k == std::string::npos ? std::string() : s.substr(k);
  };
  auto quoted = [](const std::string& s,
                   size_t from) {  // from the given index, less the last character
    return s.size() > from ? s.substr(from, s.size() - from - 1) : std::string();
  };
  size_t i = 0;
  for (; i < lines.size(); ++i) {
    if (lines[i].size() > 1022) return fail(i, "longer than one read of the reader");
    if (lines[i].find('\r') != std::string::npos) return fail(i, "carriage return");
  }
  for (i = 0; i < lines.size() && strip(lines[i]).rfind("Named object", 0) != 0; ++i) {
  }
  while (i < lines.size()) {
    std::string name = strip(lines[i]);
    if (name.rfind("Named object: \"", 0) != 0 || name.back() != '"') return fail(i, "name line");
    IndexedMesh m;
    m.name = quoted(name, 15);
    ++i;
    int v = -1, f = -1;
    if (i >= lines.size() ||
        std::sscanf(lines[i].c_str(), "Tri-mesh, Vertices: %d  Faces: %d", &v, &f) != 2 ||
        lines[i].rfind("Tri-mesh", 0) != 0)
      return fail(i, "header");
    if (f > 3000 || v < 0) return fail(i, "counts");
    if (++i >= lines.size() || lines[i] != "Vertex list:") return fail(i, "vertex list line");
    for (++i; i < lines.size() && strip(lines[i]).rfind("Vertex", 0) == 0; ++i) {
      int number = -1;
      Vertex p{};
      if (std::sscanf(strip(lines[i]).c_str(), "Vertex %d:  X: %lf Y: %lf Z: %lf", &number, &p[0],
                      &p[1], &p[2]) != 4)
        return fail(i, "vertex line");
      if (number != static_cast<int>(m.vertices.size()))
        return fail(i, "vertex number out of order");
      m.vertices.push_back(p);
    }
    // The reader drops exactly this line, whatever it says: a blank one would end the object, a
    // face line would be lost. Only the writer's own separator is accepted.
    if (i >= lines.size() || lines[i] != "Face list:") return fail(i, "end of the vertex list");
    for (++i; i < lines.size() && !strip(lines[i]).empty(); ++i) {
      std::string t = strip(lines[i]);
      if (t.rfind("Face", 0) == 0) {
        int number = -1;
        Triangle tri{};
        if (std::sscanf(t.c_str(), "Face %d: A:%d B:%d C:%d", &number, &tri[0], &tri[1], &tri[2]) !=
            4)
          return fail(i, "face line");
        m.faces.push_back(tri);
      } else if (t.rfind("Material", 0) == 0) {
        if (m.materials.size() + 1 != m.faces.size())
          return fail(i, "material without its own face");
        if (t.rfind("Material: \"", 0) != 0 || t.back() != '"')
          return fail(i, "material line layout");
        m.materials.push_back(quoted(t, 11));
      } else if (t.rfind("Smoothing", 0) != 0) {
        return fail(i, "line of no known kind");
      }
    }
    if (m.materials.size() != m.faces.size()) return fail(i, "face without a material");
    if (static_cast<int>(m.vertices.size()) != v || static_cast<int>(m.faces.size()) != f)
      return fail(i, "counts differ from the header");
    objects.push_back(m);
    while (i < lines.size() && strip(lines[i]).empty()) ++i;
  }
  return true;
}

}  // namespace generator_test
