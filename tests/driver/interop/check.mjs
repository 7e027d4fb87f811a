// Opens converted IFC files in web-ifc, an independent IFC reader, and checks what a user of
// that reader sees: the schema, one storey per real floor of the floor list beside the file
// (its Name, Description and Elevation), the spatial structure project - site - building -
// storeys, and, in web-ifc and in @ifc-lite/wasm alike, a triangulated body for every
// building element with a representation, and every copy of a repeated floor where its
// original would stand (copies.mjs).
//
// usage: node check.mjs <file.ifc> <schema> [<file.ifc> <schema> ...]
// The floor list is read from <file.ifc>.json. Exit status 0 when every check passes.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const projectRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const require = createRequire(path.join(projectRoot, 'package.json'));
const WebIFC = require('web-ifc');
const { readBoxes, READERS } = await import(path.join(projectRoot, 'tests/interop/boxes.mjs'));
const { copyMismatches } = await import('./copies.mjs');

const failures = [];
let copiesChecked = 0;
const fail = (file, message) => failures.push(`${path.basename(file)}: ${message}`);

const lines = (api, model, type) => {
  const ids = api.GetLineIDsWithType(model, type, true);
  const out = [];
  for (let i = 0; i < ids.size(); i++) out.push(api.GetLine(model, ids.get(i)));
  return out;
};
const value = (attr) => (attr === null || attr === undefined ? null : attr.value);
const refs = (list) => (list || []).map((r) => r.value);

async function checkFile(api, file, schema) {
  const { products } = await readBoxes(file);
  const model = api.OpenModel(new Uint8Array(fs.readFileSync(file)));
  try {
    const actualSchema = api.GetModelSchema(model);
    if (actualSchema !== schema) fail(file, `schema ${actualSchema}, expected ${schema}`);

    const floors = JSON.parse(fs.readFileSync(`${file}.json`, 'utf8'));
    const storeys = lines(api, model, WebIFC.IFCBUILDINGSTOREY);
    if (storeys.length !== floors.length) {
      fail(file, `${storeys.length} storeys for ${floors.length} floors`);
    }
    const unmatched = [...storeys];
    for (const floor of floors) {
      // The storey is named by the floor number's stored text ("3" or "3.0"); JSON keeps
      // only the number.
      const name = String(floor.No);
      const sameNumber = (text) => text === name || Number(text) === floor.No;
      const describes = (text) => (floor.Name ? text === floor.Name
        : text.startsWith('Floor_') && sameNumber(text.slice(6)));
      const at = unmatched.findIndex((s) => sameNumber(value(s.Name))
          && describes(value(s.Description))
          && Math.abs(Number(value(s.Elevation)) - floor.Elevation) < 1e-6);
      if (at < 0) {
        fail(file, `no storey for floor ${name} (${floor.Name}) at elevation ${floor.Elevation}`);
      } else {
        unmatched.splice(at, 1);
      }
    }

    const aggregates = lines(api, model, WebIFC.IFCRELAGGREGATES);
    const childrenOf = (id) => aggregates
      .filter((r) => r.RelatingObject.value === id)
      .flatMap((r) => refs(r.RelatedObjects));
    const projects = lines(api, model, WebIFC.IFCPROJECT);
    if (projects.length !== 1) {
      fail(file, `${projects.length} projects`);
    } else {
      const sites = childrenOf(projects[0].expressID);
      const buildings = sites.flatMap(childrenOf);
      const storeyIds = buildings.flatMap(childrenOf).sort();
      const expected = storeys.map((s) => s.expressID).sort();
      if (sites.length !== 1 || buildings.length !== 1) {
        fail(file, `project holds ${sites.length} sites and ${buildings.length} buildings`);
      }
      if (JSON.stringify(storeyIds) !== JSON.stringify(expected)) {
        fail(file, 'the building does not hold every storey');
      }
    }

    const repeated = floors.some((f) => floors.some((g) => g !== f
      && g.StdFlrNo === f.StdFlrNo && g.Height === f.Height));
    const { faults, copies } = copyMismatches(api, WebIFC, model, floors, products);
    for (const fault of faults) fail(file, fault);
    if (repeated && copies === 0) fail(file, 'repeated floors hold no copies');
    copiesChecked += copies;
  } finally {
    api.CloseModel(model);
  }
  // Geometry as both independent readers show it.
  const elementTypes = new Set(['IfcBeam', 'IfcColumn', 'IfcMember', 'IfcWall',
    'IfcWallStandardCase', 'IfcSlab']);
  for (const product of products) {
    if (!elementTypes.has(product.type) || !product.hasRepresentation) continue;
    for (const reader of READERS) {
      if (!product.views[reader].hasGeometry) {
        fail(file, `${reader}: #${product.expressId} ${product.name} has no geometry`);
      }
    }
  }
}

const args = process.argv.slice(2);
if (args.length === 0 || args.length % 2 !== 0) {
  console.error('usage: node check.mjs <file.ifc> <schema> [<file.ifc> <schema> ...]');
  process.exit(2);
}
const api = new WebIFC.IfcAPI();
await api.Init();
for (let i = 0; i < args.length; i += 2) await checkFile(api, args[i], args[i + 1]);
for (const f of failures) console.error(f);
if (failures.length === 0) console.log(`web-ifc ${api.GetVersion?.() ?? ''} and @ifc-lite/wasm opened ${args.length / 2} files: all checks passed, ${copiesChecked} copies where their originals stand`);
process.exit(failures.length === 0 ? 0 : 1);
