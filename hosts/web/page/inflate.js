// @ts-check
// The page's own inflater, for browsers without DecompressionStream (iPads
// before iPadOS 16.4, older Chromebooks): the program's WebAssembly is packed
// gzip'd (hosts/web/pack.py).

/**
 * The data of a gzip file (RFC 1952): its one member inflated, its length
 * and CRC checked.
 * @param {Uint8Array} data
 * @returns {Uint8Array}
 */
export function gunzip(data) {
  if (data.length < 18 || data[0] !== 0x1f || data[1] !== 0x8b || data[2] !== 8) throw new Error('not gzip data');
  const flags = data[3];
  let at = 10;
  if (flags & 4) at += 2 + (data[at] | data[at + 1] << 8);  // extra field
  if (flags & 8) while (data[at++]);                         // file name
  if (flags & 16) while (data[at++]);                        // comment
  if (flags & 2) at += 2;                                    // header CRC
  const end = data.length - 8;
  const word = (/** @type {number} */ i) => (data[i] | data[i + 1] << 8 | data[i + 2] << 16 | data[i + 3] << 24) >>> 0;
  const size = word(end + 4);
  if (size > 1032 * data.length) throw new Error('gzip data corrupted (length)');  // DEFLATE's largest ratio
  const out = inflate(data, at, end, new Uint8Array(size));
  if (crc32(out) !== word(end)) throw new Error('gzip data corrupted (CRC)');
  return out;
}

/**
 * Raw DEFLATE data (RFC 1951) from data[at] up to data[end], inflated into
 * out, which it must fill exactly.
 * @param {Uint8Array} data
 * @param {number} at
 * @param {number} end
 * @param {Uint8Array} out
 * @returns {Uint8Array}
 */
export function inflate(data, at, end, out) {
  let bits = 0, count = 0, n = 0;
  const corrupt = () => { throw new Error('deflate data corrupted'); };
  const take = (/** @type {number} */ k) => {
    while (count < k) {
      if (at >= end) corrupt();
      bits |= data[at++] << count;
      count += 8;
    }
    const v = bits & ((1 << k) - 1);
    bits >>>= k;
    count -= k;
    return v;
  };
  // A canonical Huffman code from its code lengths: the number of codes of
  // each length and the symbols in code order; read a bit at a time.
  /** @param {Uint8Array} lengths @param {number} from @param {number} size */
  const code = (lengths, from, size) => {
    const counts = new Uint16Array(16), symbols = new Uint16Array(size), next = new Uint16Array(16);
    for (let i = 0; i < size; ++i) ++counts[lengths[from + i]];
    counts[0] = 0;
    for (let len = 1; len < 16; ++len) next[len] = next[len - 1] + counts[len - 1];
    for (let i = 0; i < size; ++i) if (lengths[from + i]) symbols[next[lengths[from + i]]++] = i;
    return { counts, symbols };
  };
  /** @param {{ counts: Uint16Array, symbols: Uint16Array }} h */
  const decode = (h) => {
    let c = 0, first = 0, index = 0;
    for (let len = 1; len < 16; ++len) {
      c |= take(1);
      const k = h.counts[len];
      if (c - k < first) return h.symbols[index + c - first];
      index += k;
      first = (first + k) << 1;
      c <<= 1;
    }
    return corrupt();
  };
  // Lengths 3..258 and distances 1..32768: a base and its extra bits.
  const lengthBase = [], lengthExtra = [], distBase = [], distExtra = [];
  for (let i = 0, base = 3; i < 29; ++i) {
    lengthExtra.push(i < 8 || i === 28 ? 0 : (i >> 2) - 1);
    lengthBase.push(i === 28 ? 258 : base);
    base += 1 << lengthExtra[i];
  }
  for (let i = 0, base = 1; i < 30; ++i) {
    distExtra.push(i < 4 ? 0 : (i >> 1) - 1);
    distBase.push(base);
    base += 1 << distExtra[i];
  }
  const ORDER = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];
  let last;
  do {
    last = take(1);
    const type = take(2);
    if (type === 0) {
      bits = count = 0;  // stored: from the next byte on
      if (at + 4 > end) corrupt();
      const len = data[at] | data[at + 1] << 8;
      if ((data[at + 2] | data[at + 3] << 8) !== (~len & 0xffff)) corrupt();
      at += 4;
      if (at + len > end || n + len > out.length) corrupt();
      out.set(data.subarray(at, at + len), n);
      at += len;
      n += len;
      continue;
    }
    if (type === 3) corrupt();
    const lengths = new Uint8Array(320);
    let literals = 288, distances = 30;
    if (type === 1) {  // the fixed codes
      lengths.fill(8, 0, 144);
      lengths.fill(9, 144, 256);
      lengths.fill(7, 256, 280);
      lengths.fill(8, 280, 288);
      lengths.fill(5, 288, 318);
    } else {           // codes of the block's own
      literals = take(5) + 257;
      distances = take(5) + 1;
      const codeLengths = new Uint8Array(19);
      for (let i = 0, k = take(4) + 4; i < k; ++i) codeLengths[ORDER[i]] = take(3);
      const lengthCode = code(codeLengths, 0, 19);
      for (let i = 0; i < literals + distances;) {
        const sym = decode(lengthCode);
        if (sym < 16) {
          lengths[i++] = sym;
          continue;
        }
        if (sym === 16 && i === 0) corrupt();
        const len = sym === 16 ? lengths[i - 1] : 0;
        let repeat = sym === 16 ? 3 + take(2) : sym === 17 ? 3 + take(3) : 11 + take(7);
        if (i + repeat > literals + distances) corrupt();
        while (repeat--) lengths[i++] = len;
      }
    }
    const literal = code(lengths, 0, literals), distance = code(lengths, literals, distances);
    for (;;) {
      let sym = decode(literal);
      if (sym < 256) {
        if (n >= out.length) corrupt();
        out[n++] = sym;
        continue;
      }
      if (sym === 256) break;
      sym -= 257;
      if (sym >= 29) corrupt();
      const len = lengthBase[sym] + take(lengthExtra[sym]);
      const d = decode(distance);
      if (d >= 30) corrupt();
      const back = distBase[d] + take(distExtra[d]);
      if (back > n || n + len > out.length) corrupt();
      for (let k = 0; k < len; ++k, ++n) out[n] = out[n - back];
    }
  } while (!last);
  if (n !== out.length) corrupt();
  return out;
}

/**
 * The CRC-32 of gzip (ISO 3309), as an unsigned number.
 * @param {Uint8Array} bytes
 * @returns {number}
 */
export function crc32(bytes) {
  const table = new Int32Array(256);
  for (let i = 0; i < 256; ++i) {
    let c = i;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[i] = c;
  }
  let crc = -1;
  for (let i = 0; i < bytes.length; ++i) crc = table[(crc ^ bytes[i]) & 0xff] ^ (crc >>> 8);
  return (crc ^ -1) >>> 0;
}
