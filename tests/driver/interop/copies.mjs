// The copies of repeated floors as a viewer shows them. A standard floor used by several
// real floors of one height is built once; the lowest of those floors holds the built
// products, each further floor copies that share their bodies through one IfcMappedItem. A
// copy must stand exactly where its original would stand on the copy's floor: its box is the
// original's box moved up by the difference of the two storeys' elevations, and it encloses
// the same volume (the openings of a copied wall or slab cut it as they cut the original).
//
// copyMismatches(api, WebIFC, model, floors, products) returns one message per fault and the
// number of copies checked; `products` is what boxes.mjs's readBoxes gives for the same file.

import { READERS, boxDifference } from '../../interop/boxes.mjs';

const CLONED = '_cloned';
const TOLERANCE = 1e-5;  // metres

const lines = (api, model, type) => {
  const ids = api.GetLineIDsWithType(model, type, true);
  const out = [];
  for (let i = 0; i < ids.size(); i++) out.push(api.GetLine(model, ids.get(i)));
  return out;
};
const refs = (list) => (list || []).map((r) => r.value);

// Storey of every product: contained elements, the parts of contained assemblies, and the
// openings of both.
function storeysOfProducts(api, WebIFC, model) {
  const storeyOf = new Map();
  for (const rel of lines(api, model, WebIFC.IFCRELCONTAINEDINSPATIALSTRUCTURE)) {
    for (const id of refs(rel.RelatedElements)) storeyOf.set(id, rel.RelatingStructure.value);
  }
  const partsOf = new Map();
  for (const rel of lines(api, model, WebIFC.IFCRELAGGREGATES)) {
    partsOf.set(rel.RelatingObject.value, refs(rel.RelatedObjects));
    const storey = storeyOf.get(rel.RelatingObject.value);
    if (storey !== undefined) for (const id of refs(rel.RelatedObjects)) storeyOf.set(id, storey);
  }
  for (const rel of lines(api, model, WebIFC.IFCRELVOIDSELEMENT)) {
    const storey = storeyOf.get(rel.RelatingBuildingElement.value);
    if (storey !== undefined) storeyOf.set(rel.RelatedOpeningElement.value, storey);
  }
  return { storeyOf, partsOf };
}

// The IfcMappedItem a product's body shows, or undefined.
function mappedItemOf(api, model, product) {
  if (!product.Representation) return undefined;
  const shape = api.GetLine(model, product.Representation.value);
  const body = api.GetLine(model, shape.Representations[0].value);
  const item = body.Items.length === 1 ? api.GetLine(model, body.Items[0].value) : undefined;
  return item && item.MappingSource ? item.expressID : undefined;
}

const moved = (view, dz) => ({
  min: [view.min[0], view.min[1], view.min[2] + dz],
  max: [view.max[0], view.max[1], view.max[2] + dz],
});

// The union of the boxes of products in one reader, or null when none has geometry.
function unionBox(views) {
  const shown = views.filter((v) => v.hasGeometry);
  if (shown.length === 0) return null;
  return {
    hasGeometry: true,
    min: [0, 1, 2].map((i) => Math.min(...shown.map((v) => v.min[i]))),
    max: [0, 1, 2].map((i) => Math.max(...shown.map((v) => v.max[i]))),
  };
}

export function copyMismatches(api, WebIFC, model, floors, products) {
  const faults = [];
  const byId = new Map(products.map((p) => [p.expressId, p]));
  const storeys = new Map(lines(api, model, WebIFC.IFCBUILDINGSTOREY).map((s) => {
    const floor = floors.find((f) => String(f.No) === s.Name.value
      || Number(s.Name.value) === f.No);
    return [s.expressID, { name: s.Name.value, elevation: Number(s.Elevation.value), floor }];
  }));
  const { storeyOf, partsOf } = storeysOfProducts(api, WebIFC, model);
  // The real floors that share one standard floor and one height: the first holds the
  // originals, each further one a copy of every original.
  const group = (floor) => floors.filter((f) => f.StdFlrNo === floor.StdFlrNo
    && f.Height === floor.Height);

  const sharing = new Map();  // mapped item -> products that show it
  for (const product of products) {
    const item = mappedItemOf(api, model, api.GetLine(model, product.expressId));
    if (item === undefined) continue;
    if (!sharing.has(item)) sharing.set(item, []);
    sharing.get(item).push(product);
  }

  let copies = 0;
  const compare = (original, copy, what) => {
    const from = storeys.get(storeyOf.get(original.expressId));
    const to = storeys.get(storeyOf.get(copy.expressId));
    if (!from || !to) {
      faults.push(`${what} ${copy.name}: not in a storey`);
      return;
    }
    if (!to.floor || !from.floor || !group(from.floor).includes(to.floor) || to === from) {
      faults.push(`${what} ${copy.name} in storey ${to.name} copies ${original.name} of storey `
        + `${from.name}, which is not a floor of the same standard floor and height`);
      return;
    }
    const dz = (to.elevation - from.elevation) / 1000;
    for (const reader of READERS) {
      const [o, c] = [original.views[reader], copy.views[reader]];
      if (!o.hasGeometry && !c.hasGeometry) continue;  // opening elements in some readers
      const off = o.hasGeometry ? boxDifference(c, moved(o, dz), TOLERANCE)
        : 'shown where its original is not';
      if (off) faults.push(`${reader}: ${what} ${copy.name} in storey ${to.name}: ${off}`);
      if (o.volume !== undefined && Math.abs(c.volume - o.volume) > 1e-6 + 1e-6 * Math.abs(o.volume)) {
        faults.push(`${reader}: ${what} ${copy.name} encloses ${c.volume} m³, `
          + `its original ${o.volume} m³`);
      }
    }
  };

  for (const [item, shown] of sharing) {
    const originals = shown.filter((p) => !p.name.endsWith(CLONED));
    if (originals.length !== 1) {
      faults.push(`mapped item #${item} is shown by ${originals.length} originals`);
      continue;
    }
    const [original] = originals;
    const floor = storeys.get(storeyOf.get(original.expressId))?.floor;
    const expected = floor ? group(floor).length - 1 : 0;
    const copiesOf = shown.filter((p) => p !== original);
    if (copiesOf.length !== expected) {
      faults.push(`${original.name}: ${copiesOf.length} copies, ${expected} floors repeat it`);
    }
    for (const copy of copiesOf) {
      if (copy.name !== original.name + CLONED || copy.type !== original.type) {
        faults.push(`${copy.type} ${copy.name} shares the body of ${original.type} ${original.name}`);
        continue;
      }
      compare(original, copy, copy.type);
      copies++;
    }
  }

  // Assemblies: a copy holds copies of its original's parts, in the same order, and shows
  // where the original's parts would stand.
  const assemblies = products.filter((p) => p.type === 'IfcElementAssembly');
  for (const copy of assemblies.filter((p) => p.name.endsWith(CLONED))) {
    const name = copy.name.slice(0, -CLONED.length);
    const to = storeys.get(storeyOf.get(copy.expressId));
    const original = assemblies.find((p) => p.name === name && to?.floor
      && group(to.floor).includes(storeys.get(storeyOf.get(p.expressId))?.floor));
    if (!original) {
      faults.push(`assembly ${copy.name}: no original ${name} on a floor it repeats`);
      continue;
    }
    const parts = (p) => (partsOf.get(p.expressId) || []).map((id) => byId.get(id));
    const [originalParts, copyParts] = [parts(original), parts(copy)];
    const names = (list, suffix) => list.map((p) => p.name + suffix).join(', ');
    if (names(originalParts, CLONED) !== names(copyParts, '')) {
      faults.push(`assembly ${copy.name} holds ${names(copyParts, '')}, `
        + `its original ${names(originalParts, '')}`);
      continue;
    }
    const withViews = (list) => ({
      name: list === copyParts ? copy.name : original.name,
      expressId: list === copyParts ? copy.expressId : original.expressId,
      views: Object.fromEntries(READERS.map((r) => {
        const box = unionBox(list.map((p) => p.views[r]));
        return [r, box ?? { hasGeometry: false }];
      })),
    });
    compare(withViews(originalParts), withViews(copyParts), 'IfcElementAssembly');
    copies++;
  }
  return { faults, copies };
}
