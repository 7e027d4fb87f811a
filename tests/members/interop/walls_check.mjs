// Checks the walls of the converted wall sample (examples/sample_walls.sdb, see
// tools/modeldb/wall_sample.h) in both independent readers: every wall has a body, and the
// walls below fill exactly their expected boxes (millimetres). A skew cut left where the
// beam moved the end, an end not carried through its neighbours, an arc swept the wrong way
// or an opening not subtracted moves a box by far more than the tolerance, which only
// absorbs single-precision vertices.
//
// usage: node walls_check.mjs <sample_walls.ifc>

import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { checkSample } = await import(path.join(here, 'sample_check.mjs'));

const toleranceMm = 1;
const expected = {
  // Carried to 6300 by the beam over its skew neighbour, cut along the neighbour's far face,
  // which the wall's right face reaches 150 / sin 60 + 100 / tan 60 beyond the joint.
  Wall_101: { min: [0, -100, 0], max: [6000 + 400 / Math.sqrt(3), 100, 3000] },
  // The L's wall along x, through the other wall to the far face of the beam over it.
  Wall_201: { min: [-150, 19900, 0], max: [6000, 20100, 3000] },
  // The tee's stem, to the far face of the beams over the run.
  Wall_301: { min: [2900, 39850, 0], max: [3100, 44000, 3000] },
  // A quarter circle of radius 5000, 200 thick, from (5000, 60000) to (0, 65000).
  Wall_401: { min: [0, 60000, 0], max: [5100, 65100, 3000] },
  // The full-height slot flush with end 1 takes the first 900 mm away.
  Wall_501: { min: [900, 79900, 0], max: [6000, 80100, 3000] },
};

await checkSample({
  what: 'wall',
  usage: 'walls_check.mjs <sample_walls.ifc>',
  types: ['IfcWall'],
  expected,
  toleranceMm,
});
