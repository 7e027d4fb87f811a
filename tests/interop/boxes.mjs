// What two independent IFC readers show of an IFC file: per product, whether it has
// triangulated geometry, the axis-aligned box of its triangles in world coordinates and the
// volume they enclose.
//
//   import { readBoxes, findProduct } from '<project>/tests/interop/boxes.mjs';
//   const result = await readBoxes('model.ifc');
//   const beam = findProduct(result, 'Beam_12');          // by Name or by GlobalId
//   beam.views['web-ifc'].hasGeometry, beam.views['web-ifc'].min, .max   // metres
//   beam.views['web-ifc'].volume                           // cubic metres
//
// Boxes are in the file's world frame (Z up, X and Y as in the file) and in metres, for both
// readers alike; multiply by 1000 to compare with the millimetres of a converted model. The
// readers differ from that frame, and the helper undoes it:
// - web-ifc (pinned in package.json) scales lengths by the project's length unit to metres
//   and returns each mesh with a flatTransformation (column-major 4 x 4) that places it and
//   turns IFC's Z-up into a Y-up frame: (x, y, z) in the file is (x, z, -y) there. Without an
//   IfcProject it takes lengths as metres already and angles as radians.
// - @ifc-lite/wasm (pinned) returns world positions in metres as mesh.origin + positions, in
//   the same Y-up frame, and, when its pre-pass decides to shift a far-off model
//   (needsShift), relative to rtcOffset, which it gives in the file's Z-up frame, metres.
// - Neither reader makes a mesh for a product without a Representation; web-ifc also leaves
//   out opening elements. Curved solids come back as facets, so their boxes are exact only
//   where the extreme points are vertices (the ends of an arc, for instance).
//
// Neither reader reports a volume: it is the sum of the signed volumes of the tetrahedra that
// each triangle spans with the origin, exact for a closed, consistently wound mesh.
//
// Products are the file's IfcProduct instances (found by web-ifc's type index); GlobalId and
// Name come from the file as web-ifc decodes them. Geometry is each reader's own.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const projectRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const require = createRequire(path.join(projectRoot, 'package.json'));
const WebIFC = require('web-ifc');
const liteDir = path.dirname(require.resolve('@ifc-lite/wasm'));
const lite = await import(path.join(liteDir, 'ifc-lite.js'));
lite.initSync({ module: fs.readFileSync(path.join(liteDir, 'ifc-lite_bg.wasm')) });

export const WEB_IFC = 'web-ifc';
export const IFC_LITE = '@ifc-lite/wasm';
export const READERS = [WEB_IFC, IFC_LITE];

const versionOf = (name) => JSON.parse(
  fs.readFileSync(path.join(projectRoot, 'node_modules', name, 'package.json'), 'utf8')).version;

// A growing box; empty until a point is added.
class Box {
  constructor() { this.min = null; this.max = null; this.triangles = 0; this.volume = 0; }
  add(x, y, z) {
    const p = [x, y, z];
    if (!this.min) { this.min = [...p]; this.max = [...p]; return; }
    for (let i = 0; i < 3; i++) {
      this.min[i] = Math.min(this.min[i], p[i]);
      this.max[i] = Math.max(this.max[i], p[i]);
    }
  }
  view() {
    return { hasGeometry: this.triangles > 0, triangles: this.triangles, min: this.min,
      max: this.max, volume: this.volume };
  }
}
const boxOf = (boxes, id) => {
  if (!boxes.has(id)) boxes.set(id, new Box());
  return boxes.get(id);
};

// Back from the readers' Y-up frame to the file's Z-up frame.
const zUp = (x, y, z) => [x, -z, y];

// The signed volume enclosed by triangles (index triples) over points (x, y, z triples).
function enclosedVolume(points, indices) {
  let sixfold = 0;
  for (let t = 0; t + 2 < indices.length; t += 3) {
    const [a, b, c] = [indices[t] * 3, indices[t + 1] * 3, indices[t + 2] * 3];
    const [ax, ay, az] = [points[a], points[a + 1], points[a + 2]];
    const [bx, by, bz] = [points[b], points[b + 1], points[b + 2]];
    const [cx, cy, cz] = [points[c], points[c + 1], points[c + 2]];
    sixfold += ax * (by * cz - bz * cy) - ay * (bx * cz - bz * cx) + az * (bx * cy - by * cx);
  }
  return sixfold / 6;
}

function webIfcBoxes(api, model) {
  const boxes = new Map();
  api.StreamAllMeshes(model, (mesh) => {
    const box = boxOf(boxes, mesh.expressID);
    for (let i = 0; i < mesh.geometries.size(); i++) {
      const placed = mesh.geometries.get(i);
      const geometry = api.GetGeometry(model, placed.geometryExpressID);
      const vertices = api.GetVertexArray(geometry.GetVertexData(), geometry.GetVertexDataSize());
      const indices = api.GetIndexArray(geometry.GetIndexData(), geometry.GetIndexDataSize());
      const m = placed.flatTransformation;
      const points = [];
      // Six floats a vertex: position, normal.
      for (let k = 0; k < vertices.length; k += 6) {
        const [x, y, z] = [vertices[k], vertices[k + 1], vertices[k + 2]];
        const p = zUp(m[0] * x + m[4] * y + m[8] * z + m[12],
          m[1] * x + m[5] * y + m[9] * z + m[13],
          m[2] * x + m[6] * y + m[10] * z + m[14]);
        box.add(...p);
        points.push(...p);
      }
      box.triangles += geometry.GetIndexDataSize() / 3;
      box.volume += enclosedVolume(points, indices);
      geometry.delete();
    }
  });
  return boxes;
}

function ifcLiteBoxes(bytes) {
  const api = new lite.IfcAPI();
  const boxes = new Map();
  let lengthUnitInMetres = null;
  try {
    const pre = api.buildPrePassOnce(bytes);
    lengthUnitInMetres = pre.unitScale;
    const rtc = pre.needsShift && pre.rtcOffset ? pre.rtcOffset : [0, 0, 0];
    const collection = api.processGeometryBatch(bytes, pre.jobs, pre.unitScale,
      rtc[0], rtc[1], rtc[2], pre.needsShift, pre.voidKeys, pre.voidCounts, pre.voidValues,
      pre.styleIds, pre.styleColors);
    try {
      for (let i = 0; i < collection.length; i++) {
        const mesh = collection.get(i);
        const box = boxOf(boxes, mesh.expressId);
        const p = mesh.positions;
        const o = mesh.origin;
        const points = [];
        for (let k = 0; k < p.length; k += 3) {
          const [x, y, z] = zUp(p[k] + o[0], p[k + 1] + o[1], p[k + 2] + o[2]);
          box.add(x + rtc[0], y + rtc[1], z + rtc[2]);
          points.push(x + rtc[0], y + rtc[1], z + rtc[2]);
        }
        box.triangles += mesh.indices.length / 3;
        box.volume += enclosedVolume(points, mesh.indices);
        mesh.free();
      }
    } finally {
      collection.free();
    }
    api.clearPrePassCache();
  } finally {
    api.free();
  }
  return { boxes, lengthUnitInMetres };
}

// Opens the file in both readers. Returns
//   { readers: { 'web-ifc': version, '@ifc-lite/wasm': version },
//     lengthUnitInMetres,       // the file's length unit as @ifc-lite/wasm reads it
//     products: [{ expressId, type, globalId, name, hasRepresentation,
//                  views: { 'web-ifc': view, '@ifc-lite/wasm': view } }] }
// where a view is { hasGeometry, triangles, min: [x, y, z] | null, max: [x, y, z] | null,
// volume } (cubic metres).
export async function readBoxes(file) {
  const bytes = new Uint8Array(fs.readFileSync(file));
  const api = new WebIFC.IfcAPI();
  await api.Init();
  // Logs of the reader (a missing project, an unsupported entity) are not results.
  api.SetLogLevel?.(WebIFC.LogLevel?.LOG_LEVEL_OFF ?? 6);
  const model = api.OpenModel(bytes);
  try {
    const webBoxes = webIfcBoxes(api, model);
    const { boxes: liteBoxes, lengthUnitInMetres } = ifcLiteBoxes(bytes);
    const ids = api.GetLineIDsWithType(model, WebIFC.IFCPRODUCT, true);
    const products = [];
    for (let i = 0; i < ids.size(); i++) {
      const line = api.GetLine(model, ids.get(i));
      const view = (boxes) => (boxes.get(line.expressID) ?? new Box()).view();
      products.push({
        expressId: line.expressID,
        type: api.GetNameFromTypeCode(line.type),
        globalId: line.GlobalId?.value ?? null,
        name: line.Name?.value ?? null,
        hasRepresentation: Boolean(line.Representation),
        views: { [WEB_IFC]: view(webBoxes), [IFC_LITE]: view(liteBoxes) },
      });
    }
    return {
      readers: { [WEB_IFC]: versionOf('web-ifc'), [IFC_LITE]: versionOf('@ifc-lite/wasm') },
      lengthUnitInMetres,
      products,
    };
  } finally {
    api.CloseModel(model);
  }
}

// The product whose GlobalId or Name is key; undefined when there is none. Throws when a
// Name is shared by several products.
export function findProduct(result, key) {
  const byId = result.products.find((p) => p.globalId === key);
  if (byId) return byId;
  const named = result.products.filter((p) => p.name === key);
  if (named.length > 1) throw new Error(`${named.length} products are named ${key}`);
  return named[0];
}

// Describes how a view's box differs from the expected one by more than tolerance (all in
// metres), or returns null when it does not.
export function boxDifference(view, expected, tolerance) {
  if (!view.hasGeometry) return 'no geometry';
  const off = [];
  for (const bound of ['min', 'max']) {
    for (let i = 0; i < 3; i++) {
      const d = view[bound][i] - expected[bound][i];
      if (!(Math.abs(d) <= tolerance)) {
        off.push(`${bound} ${'xyz'[i]} ${view[bound][i].toFixed(4)} (expected ${expected[bound][i].toFixed(4)})`);
      }
    }
  }
  return off.length ? off.join(', ') : null;
}
