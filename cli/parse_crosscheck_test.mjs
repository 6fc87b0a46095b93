// Cross-checks `vorlix-cli parse` against an independent V_Klay reader, the
// npm package @sie-js/vkp: the same files, the same records, errors on the
// same lines. Run by parse_crosscheck_test.sh, which installs the package.
//
// Left out on purpose, where this program reads differently by design:
// a stray "*/" (here a warning), text after the second data field (here
// passed over, as the apply command always did), "0i-128" and its kin (here
// the full two's-complement range), an address that an offset carries past
// FFFFFFFF (here an error), "\/*" inside a string (here a plain "/*"), and an
// empty string as the new data (here no record, with a warning, as it writes
// nothing).
//
// Usage: node parse_crosscheck_test.mjs VORLIX_CLI PACKAGE_DIR WORK_DIR
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [cli, packageDir, workDir] = process.argv.slice(2);
const entry = path.join(packageDir, 'node_modules', '@sie-js', 'vkp', 'dist', 'src', 'index.js');
const { vkpNormalize, vkpParse } = await import(pathToFileURL(entry).href);

// Texts as JavaScript strings are written as UTF-8; Buffers as they are.
const cases = [
    ';Автор патча: Пётр\r\n012345: 0A0B 0C0D\r\n012347: 0C0D 1112\r\n',
    '012345: 0A0B 0C\n',
    '// c\n# c\n10: 0A 0B ; d\n11: 0C 0D // e\n12: 0E 0F # f\n',
    '/* a\nb */10: 0A 0B /* c */\n/* d */ 11: 0C 0D\n',
    '+100\n10: AA BB\n-0x10\n20: CC DD\n+0\n30: EE FF\n',
    '#pragma enable old_equal_ff\n10: AABB\n#pragma disable old_equal_ff\n11: CC\n',
    '#pragma disable undo\n10: 01 02\n#pragma enable undo\n',
    '10: 0i255,0i00001,0i0000000001 0i-1,0i+00001,0i-0000000001\n',
    '10: 0i0000000000001,0i000000000000001,0i00000000000000001\n',
    "10: 'Hi'\n",
    '10: "\\a\\b\\t\\r\\n\\v\\f\\e\\\\\\"\\\'\\`\\x41\\101\\0\\377"\n',
    "10: '\\u0410\\xFF\\n'\n",
    '10: "a\\\nb" 0x1\n',
    Buffer.from('10: "\xCF\xF0\xE8"\r\n', 'latin1'),
    '10: AABB\\\n  CCDD\n',
    '10: AA,0x1234"z"0n1,0i1 "abcdef"\n',
    '10: AA,,BB, CC,\n',
    '10: AA BB\r11: CC DD\r\n12: EE FF\n',
    // Errors.
    '10: AAB BB\n',
    '; header\n10: AA BBB\n',
    '10: AA 0G\n',
    '10: AA0x12\n',
    '10: 0i001AA\n',
    '123456789: AA\n',
    '10: 0x123456789\n',
    '10: 0i1234\n',
    '10: 0i+128\n',
    '10: 0i99999999999999999999\n',
    '10: "abc\n',
    '10: "a/*b"\n',
    '10: "\\x7F"\n',
    '10: "\\400"\n',
    '10: AA 0C0D\n',
    '#pragma enable foo\n',
    '{\\rtf1\\ansi 10: AA BB}\n',
    'hello\n',
];

// A seeded generator, so that a failure can be repeated.
let seed = 12345;
const random = (n) => {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return Math.floor((seed / 2147483648) * n);
};
const hexByte = (b) => b.toString(16).padStart(2, '0');

function field(bytes) {
    let text = '';
    let previous = null;
    for (let i = 0; i < bytes.length;) {
        let item;
        let kind = 'number';
        const pick = random(5);
        if (pick === 1 && bytes.length - i >= 2) {
            item = '0x' + hexByte(bytes[i + 1]) + hexByte(bytes[i]);
            i += 2;
        } else if (pick === 2) {
            item = '0i' + String(bytes[i++]).padStart(3, '0');
        } else if (pick === 3) {
            item = '0n' + bytes[i++].toString(2).padStart(8, '0');
        } else if (pick === 4 && /[0-9A-Za-z]/.test(String.fromCharCode(bytes[i]))) {
            kind = 'string';
            let s = '';
            while (i < bytes.length && s.length < 6 && /[0-9A-Za-z]/.test(String.fromCharCode(bytes[i]))) {
                s += String.fromCharCode(bytes[i++]);
            }
            item = '"' + s + '"';
        } else {
            kind = 'hex';
            const pair = hexByte(bytes[i++]);
            item = random(2) ? pair.toUpperCase() : pair;
        }
        if (previous) {
            const direct = previous === 'string' || kind === 'string' || (previous === 'hex' && kind === 'hex');
            const joint = random(3);
            if (joint === 2) text += '\\\n';
            else if (joint === 1 || !direct) text += random(4) ? ',' : ',,';
        }
        text += item;
        previous = kind;
    }
    return random(8) === 0 ? text + ',' : text;
}

for (let n = 0; n < 150; ++n) {
    let text = '';
    for (let k = 0; k < 30; ++k) {
        const what = random(10);
        if (what === 0) text += '; comment\r\n';
        else if (what === 1) text += '/* a\r\n b */\r\n';
        else if (what === 2) text += '+' + random(0x10000).toString(16) + '\r\n';
        else if (what === 3) text += random(2) ? '#pragma enable old_equal_ff\r\n' : '#pragma disable old_equal_ff\r\n';
        else {
            const newBytes = Array.from({ length: 1 + random(10) }, () => random(256));
            const oldBytes = Array.from({ length: newBytes.length + (random(4) === 0 ? 1 : 0) }, () => random(256));
            const address = random(0x1000000).toString(16);
            text += (random(2) ? '0x' + address : address.toUpperCase()) + ': ';
            text += random(4) ? field(oldBytes) + ' ' + field(newBytes) : field(newBytes);
            text += random(2) ? ' ; done\r\n' : '\r\n';
        }
    }
    cases.push(text);
}

// ---- the two readers

function independent(bytes) {
    let text;
    try {
        text = new TextDecoder('utf-8', { fatal: true }).decode(bytes).replace(/^\uFEFF/, '');
        text = text.replace(/\r\n|\r/g, '\n');
    } catch {
        text = vkpNormalize(bytes);
    }
    const result = vkpParse(text);
    const hex = (b) => (b ? Buffer.from(b).toString('hex').toUpperCase() : '-');
    return {
        records: result.writes.map((w) => [w.addr.toString(16).toUpperCase().padStart(6, '0'), hex(w.old), hex(w.new)].join(' ')),
        errorLines: [...new Set(result.errors.map((e) => e.loc.line))].sort((a, b) => a - b),
    };
}

fs.mkdirSync(workDir, { recursive: true });
const files = cases.map((text, i) => {
    const file = path.join(workDir, `case${i}.vkp`);
    fs.writeFileSync(file, typeof text === 'string' ? Buffer.from(text, 'utf8') : text);
    return file;
});

let stdout = '';
let stderr = '';
try {
    stdout = execFileSync(cli, ['parse', ...files], { encoding: 'utf8', maxBuffer: 1 << 26, stdio: ['ignore', 'pipe', 'pipe'] });
} catch (e) {
    if (e.status !== 1) throw e;
    stdout = e.stdout;
    stderr = e.stderr;
}
const ours = new Map(files.map((f) => [f, { records: [], errorLines: new Set() }]));
for (const line of stdout.split('\n').filter(Boolean)) {
    const [file, record] = line.split('\t');
    ours.get(file).records.push(record);
}
for (const line of stderr.split('\n').filter(Boolean)) {
    const m = /^(.*\.vkp):(\d+):\d+: (?!предупреждение: )/.exec(line);
    if (m) ours.get(m[1]).errorLines.add(Number(m[2]));
}

let failures = 0;
let withErrors = 0;
files.forEach((file, i) => {
    const theirs = independent(fs.readFileSync(file));
    const mine = ours.get(file);
    const mineErrors = [...mine.errorLines].sort((a, b) => a - b);
    let problem = null;
    if (theirs.errorLines.length > 0 || mineErrors.length > 0) {
        ++withErrors;
        // Both refuse the file, and at the same first line.
        if (theirs.errorLines[0] !== mineErrors[0]) {
            problem = `first error line: ours ${mineErrors[0]}, theirs ${theirs.errorLines[0]}`;
        }
    } else if (JSON.stringify(mine.records) !== JSON.stringify(theirs.records)) {
        problem = `records differ:\n  ours   ${mine.records.join('\n         ')}\n  theirs ${theirs.records.join('\n         ')}`;
    }
    if (problem) {
        ++failures;
        console.log(`case ${i} (${file}): ${problem}`);
    }
});
console.log(`${files.length - failures} passed, ${failures} failed (${withErrors} refused by both)`);
process.exit(failures === 0 && withErrors >= 18 ? 0 : 1);
