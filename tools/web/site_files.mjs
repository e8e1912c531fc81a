// Completes the web build's folder: the car icons (from `velko-assetgen --icons`, recompressed,
// as the asset generator stores its PNG data uncompressed), the web app manifest, and the
// service worker that keeps the page offline, its cache named after a hash of every file.
//   node site_files.mjs SITE ICONS SERVICE_WORKER_TEMPLATE
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { deflateSync, inflateSync } from 'node:zlib';

const [site, icons, template] = process.argv.slice(2);
if (!site || !icons || !template) {
  console.error('usage: node site_files.mjs SITE ICONS SERVICE_WORKER_TEMPLATE');
  process.exit(2);
}

// Small for lists of apps, large for a home screen or a splash.
const iconSizes = [48, 128, 256];
const pageFiles = ['index.html', 'index.js', 'index.wasm', 'index.data'];

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}

// The same image, its pixel data deflated at the highest level; other chunks kept as they are.
function recompressPng(png) {
  const signature = png.subarray(0, 8);
  const kept = [];
  const data = [];
  for (let at = 8; at < png.length;) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const whole = png.subarray(at, at + 12 + length);
    if (type === 'IDAT') data.push(png.subarray(at + 8, at + 8 + length));
    else if (type !== 'IEND') kept.push(whole);
    at += 12 + length;
  }
  const pixels = deflateSync(inflateSync(Buffer.concat(data)), { level: 9 });
  return Buffer.concat([signature, ...kept, chunk('IDAT', pixels), chunk('IEND', Buffer.alloc(0))]);
}

const iconFiles = iconSizes.map((size) => {
  const name = `icon-${size}.png`;
  const png = readFileSync(join(icons, `${size}x${size}`, 'apps', 'velko.png'));
  writeFileSync(join(site, name), recompressPng(png));
  return { name, size };
});

const manifest = {
  name: 'Project Velko',
  short_name: 'Velko',
  description: 'Un petit jeu de voiture vue de dessus.',
  lang: 'fr',
  start_url: './',
  scope: './',
  display: 'fullscreen',
  orientation: 'landscape',
  background_color: '#000000',
  theme_color: '#000000',
  icons: iconFiles.map(({ name, size }) => ({
    src: name, sizes: `${size}x${size}`, type: 'image/png', purpose: 'any',
  })),
};
writeFileSync(join(site, 'manifest.webmanifest'), `${JSON.stringify(manifest, null, 2)}\n`);

// The cache is named after everything it keeps: any change to any file makes a new one.
const cached = [...pageFiles, 'manifest.webmanifest', ...iconFiles.map(({ name }) => name)];
const hash = createHash('sha256');
for (const name of cached) hash.update(name).update(readFileSync(join(site, name)));
const cacheName = `velko-${hash.digest('hex').slice(0, 16)}`;
// The page itself is kept under the folder's address, as it is visited.
const urls = cached.map((name) => (name === 'index.html' ? './' : name));
const worker = readFileSync(template, 'utf8')
  .replace('@CACHE_NAME@', cacheName)
  .replace('@FILES@', JSON.stringify(urls));
writeFileSync(join(site, 'sw.js'), worker);
console.log(`web site files: ${cached.length + 1} more files, cache ${cacheName}`);
