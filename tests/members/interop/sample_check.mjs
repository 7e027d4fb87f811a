// The common run of the sample checks: opens the converted sample named on the command line in
// both independent readers, requires a body of every product of the given types, compares the
// named products' boxes (millimetres) and, where given, volumes (cubic millimetres) with the
// expected ones, prints the faults and exits with status 0 only when there are none.
//
//   await checkSample({ what: 'wall', usage: 'walls_check.mjs <sample_walls.ifc>',
//                       types: ['IfcWall'], expected: { Wall_101: { min, max, volume, tol,
//                       volumeReaders } }, toleranceMm: 1, volumeTolerance: 1e-6 });
//
// An expected volume is checked within its own relative tol, else volumeTolerance, in the
// readers of volumeReaders, else in both.

import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { readBoxes, findProduct, boxDifference, READERS } =
  await import(path.join(here, '../../interop/boxes.mjs'));

export async function checkSample({ what, usage, types, expected, toleranceMm, volumeTolerance }) {
  const file = process.argv[2];
  if (!file) {
    console.error(`usage: node ${usage}`);
    process.exit(2);
  }
  const result = await readBoxes(file);
  const failures = [];
  let checked = 0;
  for (const product of result.products.filter((p) => types.includes(p.type))) {
    for (const reader of READERS) {
      if (!product.views[reader].hasGeometry) failures.push(`${reader}: ${product.name} has no geometry`);
    }
  }
  for (const [name, want] of Object.entries(expected)) {
    const product = findProduct(result, name);
    if (!product) {
      failures.push(`no product ${name}`);
      continue;
    }
    const metres = { min: want.min.map((v) => v / 1000), max: want.max.map((v) => v / 1000) };
    for (const reader of READERS) {
      const view = product.views[reader];
      const difference = boxDifference(view, metres, toleranceMm / 1000);
      if (difference) failures.push(`${reader}: ${name}: ${difference}`);
      const volume = view.volume * 1e9;
      const tolerance = want.tol ?? volumeTolerance;
      if (want.volume !== undefined && (want.volumeReaders ?? READERS).includes(reader)
          && !(Math.abs(volume - want.volume) <= tolerance * want.volume)) {
        failures.push(`${reader}: ${name}: volume ${volume.toFixed(0)} mm³ (expected ${want.volume.toFixed(0)})`);
      }
      checked++;
    }
  }
  for (const f of failures) console.error(f);
  const versions = Object.entries(result.readers).map(([r, v]) => `${r} ${v}`).join(' and ');
  if (failures.length === 0) console.log(`${checked} ${what} boxes as expected in ${versions}`);
  process.exit(failures.length === 0 ? 0 : 1);
}
