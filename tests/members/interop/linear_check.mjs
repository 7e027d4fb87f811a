// Checks the linear members of the converted linear sample (examples/sample_linear.sdb, see
// tools/modeldb/linear_sample.h) in both independent readers: every beam, column and member
// has a body, and the members below fill their expected boxes (millimetres), and some their
// volumes (cubic millimetres). An end trimmed to the wrong face, a cut on the wrong side, a
// tapered outline upside down, a box's void outside its plates, a brace's section turned or a
// column's eccentricity taken in the wrong frame moves a box or a volume by far more than the
// tolerances, which absorb single-precision vertices.
//
// usage: node linear_check.mjs <sample_linear.ifc>

import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const { WEB_IFC } = await import(path.join(here, '../../interop/boxes.mjs'));
const { checkSample } = await import(path.join(here, 'sample_check.mjs'));

const toleranceMm = 1;
const volumeTolerance = 1e-6;
const { sin, cos, tan, hypot, PI } = Math;

// Beam_1001 rests at end 1 on a 400 wide beam at 60 degrees: its end reaches the far face,
// 200 / sin 60 + 150 / tan 60 beyond the joint, and the corner on the acute side is cut by a
// plane parallel to that beam, 2 * 150 / tan 60 shorter on the other side.
const reach = 200 / sin(PI / 3) + 150 / tan(PI / 3);
const tail = 150 / tan(PI / 3);
// Column 1207: 600 x 400 turned 30 degrees, 100 off its joint along the turned x.
const c30 = cos(PI / 6), s30 = sin(PI / 6);
const col = { x: 40000 + 100 * c30, y: 100 * s30, hx: 300 * c30 + 200 * s30, hy: 300 * s30 + 200 * c30 };
// SubBeam_1301: an I 400 deep hanging from a top that falls 600 over 6000.
const fall = 600 / hypot(6000, 600), run = 6000 / hypot(6000, 600);
// Brace_1101: 200 across (x), 100 deep, on the axis (0, 4000, 3000): its depth lies along
// (0, 0.6, -0.8).
// Beam_1005: Beam_1003's side view with its top falling 200 over 6000, its depths taken
// across the tilted axis, whose downward normal is (-200, 0, -6000) / L5.
const L5 = hypot(6000, 200);

const expected = {
  Beam_1001: {
    min: [-reach, -150, 2400], max: [6000, 150, 3000],
    volume: 300 * 600 * (6000 + reach - tail), volumeReaders: [WEB_IFC],
  },
  Beam_1003: { min: [10000, -150, 2200], max: [16000, 150, 3000], volume: 300 * 6000 * 650 },
  // The void: 380 wide, 20 below the top, from 760 deep 20 before end 1 to 560 deep 20 beyond
  // end 2; within the beam it averages 660.
  Beam_1004: {
    min: [20000, -200, 2200], max: [26000, 200, 3000],
    volume: 400 * 6000 * 700 - 380 * 6000 * 660, volumeReaders: [WEB_IFC],
  },
  Beam_1005: {
    min: [70000 - 200 * 800 / L5, -150, 3000 - 6000 * 800 / L5], max: [76000, 150, 3000],
    volume: 300 * L5 * 650,
  },
  // Plates that meet at end 2: the box is solid.
  Beam_1006: { min: [80000, -200, 2200], max: [86000, 200, 3000], volume: 400 * 6000 * 700 },
  // Resting at end 2 on Beam_1008, square: its end reaches that beam's far face, 200 beyond
  // the joint, and Beam_1008's end 1 the far face of Beam_1007, 150 beyond.
  Beam_1007: { min: [90000, -150, 2400], max: [96200, 150, 3000], volume: 300 * 600 * 6200 },
  Beam_1008: { min: [95800, -150, 2400], max: [96200, 4000, 3000], volume: 400 * 600 * 4150 },
  Brace_1101: { min: [29900, -30, -40], max: [30100, 4030, 3040], volume: 200 * 100 * 5000 },
  Columm_1207: {
    min: [col.x - col.hx, col.y - col.hy, 0], max: [col.x + col.hx, col.y + col.hy, 3000],
  },
  Column_1208_1: { min: [49800, -300, 0], max: [50200, 300, 3000] },
  Columm_1208_2: { min: [49900, -150, 0], max: [50100, 150, 3000] },
  SubBeam_1301: {
    min: [60000 - 200 * fall, -100, 2200 - 200 * run],
    max: [66000 + 200 * fall, 100, 2800 + 200 * run],
  },
};

await checkSample({
  what: 'member',
  usage: 'linear_check.mjs <sample_linear.ifc>',
  types: ['IfcBeam', 'IfcColumn', 'IfcMember'],
  expected,
  toleranceMm,
  volumeTolerance,
});
