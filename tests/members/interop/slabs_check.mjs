// Checks the slabs of the converted slab sample (examples/sample_slabs.sdb, see
// tools/modeldb/slab_sample.h) in both independent readers: every slab has a body, and the
// slabs below fill their expected boxes (millimetres) and volumes (cubic millimetres). A
// sloped slab hung vertically instead of along its normal, an arc swept the wrong way, an
// opening not cut, a dropped region in the wrong place or a cantilever on the wrong side of
// its edge moves a box or a volume by far more than the tolerances, which absorb
// single-precision vertices and the facets of curved faces.
//
// usage: node slabs_check.mjs <sample_slabs.ifc>

import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { IFC_LITE } = await import(path.join(here, '../../interop/boxes.mjs'));
const { checkSample } = await import(path.join(here, 'sample_check.mjs'));

const toleranceMm = 1;
// Relative volume tolerances. Curved faces come back as facets: the readers draw a quarter
// circle of the arc-edged profile with enough chords to lose well under 0.5 % of its area,
// but web-ifc revolves the cantilever band in steps of about 30 degrees, which loses 4.5 %.
const plane = 1e-4;
const curved = 5e-3;
const revolved = 6e-2;

// A sloped plate: its top face through the points, its body `tk` below it along the normal.
const hypot = Math.hypot;
const slope = hypot(6000, 600);
const triangle = (n, tk) => hypot(...n) / 2 * tk;  // area from the cross product, times tk

const expected = {
  // 6000 x 4000 x 120 less the 1000 x 800 opening.
  Slab_101: { min: [0, 0, 2880], max: [6000, 4000, 3000], volume: (24e6 - 0.8e6) * 120, tol: plane },
  Slab_201: {
    min: [10000, 0, 3000 - 150 * 6000 / slope],
    max: [16000 + 150 * 600 / slope, 4000, 3600],
    volume: slope * 4000 * 150,
    tol: plane,
  },
  Slab_301: {
    min: [20000, 0, 2880], max: [25000, 5000, 3000], volume: Math.PI * 25e6 / 4 * 120, tol: curved,
  },
  // The region's top 50 lower; its bottom 130 below the slab, 100 wider to the south. The
  // added solid shares its top face with the slab's bottom face, as the region's description
  // has it; web-ifc's union of two solids with a common face is not a closed mesh, so its
  // volume is taken from @ifc-lite/wasm only.
  Slab_401: {
    min: [30000, 0, 2750],
    max: [36000, 4000, 3000],
    volume: 24e6 * 120 - 4e6 * 50 + 2000 * 2100 * 130,
    tol: plane,
    volumeReaders: [IFC_LITE],
  },
  // The triangles (0, 1, 2) and (0, 2, 3) of the warped quadrilateral.
  Slab_701_1: {
    min: [40000, 0, 3000 - 120 * 2.4e7 / hypot(1.8e6, 2.4e7)],
    max: [46000, 4000 + 120 * 1.8e6 / hypot(1.8e6, 2.4e7), 3300],
    volume: triangle([0, 1.8e6, 2.4e7], 120),
    tol: plane,
  },
  Slab_701_2: {
    min: [40000, 0, 3000 - 120 * 2.4e7 / hypot(1.2e6, 2.4e7)],
    max: [46000 + 120 * 1.2e6 / hypot(1.2e6, 2.4e7), 4000, 3300],
    volume: triangle([1.2e6, 0, 2.4e7], 120),
    tol: plane,
  },
  // A triangle with a corner of 0.29 degrees, listed from that corner.
  Slab_801: {
    min: [50000, 0, 2880], max: [60000, 50, 3000], volume: 10000 * 50 / 2 * 120, tol: plane,
  },
  // Flat at its level grid, its short Z list not read.
  Slab_802: { min: [62000, 0, 2880], max: [68000, 4000, 3000], volume: 24e6 * 120, tol: plane },
  // South of the plain slab's edge, as thick as the slab.
  CantiSlab_501: {
    min: [1000, -1500, 2880], max: [4000, 0, 3000], volume: 3000 * 1500 * 120, tol: plane,
  },
  // Outside the arc, radii 5000 to 6000.
  CantiSlab_601: {
    min: [20000, 0, 2850],
    max: [26000, 6000, 3000],
    volume: Math.PI * (36e6 - 25e6) / 4 * 150,
    tol: revolved,
  },
};

await checkSample({
  what: 'slab',
  usage: 'slabs_check.mjs <sample_slabs.ifc>',
  types: ['IfcSlab'],
  expected,
  toleranceMm,
});
