// Checks the converted tall-storey model (tall_storey_model.cpp) in both independent readers:
// the slab opening passes through a slab that stands 12 m up, and walls end where their axis
// crosses the far face of skew beams. An opening that stops short leaves the slab whole; an
// end placed as at a square beam, or on the wrong face, moves a box by 50 mm or more.
//
// usage: node tall_storey_check.mjs <tall_storey.ifc>

import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { checkSample } = await import(path.join(here, 'sample_check.mjs'));

const sin = (degrees) => Math.sin(degrees * Math.PI / 180);
const expected = {
  Slab_101: {
    min: [0, 0, 11880], max: [6000, 4000, 12000], volume: (24e6 - 0.8e6) * 120, tol: 1e-4,
  },
  // A face w/2 + Ecc across the beam lies (w/2 + Ecc) / sin(angle) along the wall.
  Wall_201: { min: [-150 / sin(76), 19900, 0], max: [6000 + 350 / sin(70), 20100, 12000] },
  Wall_301: { min: [0, 39900, 0], max: [6000 - 50 / sin(70), 40100, 12000] },
};

await checkSample({
  what: 'tall storey',
  usage: 'tall_storey_check.mjs <tall_storey.ifc>',
  types: ['IfcWall', 'IfcSlab'],
  expected,
  toleranceMm: 1,
});
