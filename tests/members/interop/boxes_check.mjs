// Checks the boxes of the products in files written by members_solids_file against the
// boxes written beside them (<file.ifc>.boxes.json, millimetres), in both independent
// readers. A clip plane a reader drops, a solid swept the wrong way or a boolean left out
// moves a box by hundreds of millimetres; the tolerance only absorbs single-precision
// vertices.
//
// usage: node boxes_check.mjs <file.ifc> [<file.ifc> ...]

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { readBoxes, findProduct, boxDifference, READERS } =
  await import(path.join(here, '../../interop/boxes.mjs'));

const toleranceMm = 1;
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
      checked++;
    }
  }
}
for (const f of failures) console.error(f);
const versions = Object.entries(readers ?? {}).map(([r, v]) => `${r} ${v}`).join(' and ');
if (failures.length === 0) console.log(`${checked} boxes as expected in ${versions}`);
process.exit(failures.length === 0 ? 0 : 1);
