// Checks the boxes of the products in files written by members_solids_file against the
// boxes written beside them (<file.ifc>.boxes.json, millimetres), in both independent
// readers, and their volumes where given (mm³). A clip plane a reader drops, a solid swept the
// wrong way or a boolean left out moves a box by hundreds of millimetres; the tolerance only
// absorbs single-precision vertices. Volumes are read in @ifc-lite/wasm alone: web-ifc draws a
// quarter circle with three chords, which lose 4.5 % of a revolved solid and keep a wall's arc
// out of the reach of an opening's box; @ifc-lite/wasm's finer facets lose under 1 %, a small
// part of what an opening that misses its wall leaves.
//
// usage: node boxes_check.mjs <file.ifc> [<file.ifc> ...]

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { readBoxes, findProduct, boxDifference, READERS, IFC_LITE } =
  await import(path.join(here, '../../interop/boxes.mjs'));

const toleranceMm = 1;
const volumeTolerance = 0.01;
const files = process.argv.slice(2);
if (files.length === 0) {
  console.error('usage: node boxes_check.mjs <file.ifc> [<file.ifc> ...]');
  process.exit(2);
}

const failures = [];
let checked = 0;
let readers = null;
for (const file of files) {
  const expected = JSON.parse(fs.readFileSync(`${file}.boxes.json`, 'utf8'));
  const result = await readBoxes(file);
  readers = result.readers;
  for (const [name, box] of Object.entries(expected)) {
    const product = findProduct(result, name);
    if (!product) {
      failures.push(`${path.basename(file)}: no product ${name}`);
      continue;
    }
    const metres = { min: box.min.map((v) => v / 1000), max: box.max.map((v) => v / 1000) };
    for (const reader of READERS) {
      const difference = boxDifference(product.views[reader], metres, toleranceMm / 1000);
      if (difference) failures.push(`${path.basename(file)}: ${reader}: ${name}: ${difference}`);
      const volume = product.views[reader].volume * 1e9;
      if (box.volume !== undefined && reader === IFC_LITE
          && !(Math.abs(volume - box.volume) <= volumeTolerance * box.volume)) {
        failures.push(`${path.basename(file)}: ${reader}: ${name}: volume ${volume.toFixed(0)} mm³ (expected ${box.volume.toFixed(0)})`);
      }
      checked++;
    }
  }
}
for (const f of failures) console.error(f);
const versions = Object.entries(readers ?? {}).map(([r, v]) => `${r} ${v}`).join(' and ');
if (failures.length === 0) console.log(`${checked} boxes as expected in ${versions}`);
process.exit(failures.length === 0 ? 0 : 1);
