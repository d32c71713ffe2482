// Every page at the sizes of a school's screens: nothing spills past the page's frame (wide
// tables scroll inside their own box), heading cells never break one character a line, and a
// chart of hundreds of groups keeps its labels apart. Measured by the page's own element boxes.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({
    prepare: (dataDir) => {
      execFileSync(process.env.ZEZIZA_GENERATE, ['--data-dir', dataDir, '--students', '600',
        '--exams', '2', '--subjects', '9', '--password', 'geheim']);
    },
  });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// The pages of the navigation bar, each with the button that fills it with a result.
const PAGES = [
  ['【成绩查询】', '#querybutton'],
  ['【图表统计】', '#analysebutton'],
  ['【班级对比】', '#analysebutton'],
  ['【成绩排序】', '#analysebutton'],
  ['【进步统计】', '#analysebutton'],
  ['【分布情况】', null],
  ['【单位设置】', null],
  ['【考试设置】', null],
  ['【学生管理】', '#querybutton'],
  ['【系统设置】', null],
  ['【上传成绩】', null],
  ['【修改密码】', null],
];

// Elements whose box leaves the page's frame without a scrolling box around them, and
// heading cells laid out one character a line.
function measure() {
  const frame = (document.querySelector('.iw-content') || document.body).getBoundingClientRect();
  const scrolls = (el) => {
    for (let a = el.parentElement; a && a !== document.body; a = a.parentElement) {
      const o = getComputedStyle(a).overflowX;
      if (o === 'auto' || o === 'scroll' || o === 'hidden') return true;
    }
    return false;
  };
  const name = (el) => el.tagName.toLowerCase() + (el.id ? '#' + el.id : '') +
    (typeof el.className === 'string' && el.className ? '.' + el.className.split(' ').join('.') : '');
  const spilled = [];
  for (const el of document.querySelectorAll('.iw-content *')) {
    const r = el.getBoundingClientRect();
    if (r.width === 0 || r.height === 0 || scrolls(el)) continue;
    if (r.right > frame.right + 1 || r.left < frame.left - 1) {
      spilled.push(`${name(el)} ${Math.round(r.left)}..${Math.round(r.right)}`);
    }
  }
  const narrowHeadings = [];
  for (const th of document.querySelectorAll('th')) {
    const text = th.textContent.replace(/\s+/g, '');
    if (text.length < 2 || th.getBoundingClientRect().width === 0) continue;
    const range = document.createRange();
    range.selectNodeContents(th);
    const lines = new Set([...range.getClientRects()].map((r) => Math.round(r.top))).size;
    if (lines >= text.length) narrowHeadings.push(text);
  }
  return { spilled: spilled.slice(0, 8), narrowHeadings, pageScrolls:
    document.documentElement.scrollWidth > document.documentElement.clientWidth };
}

async function signIn() {
  const { page } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();
  await page.fill('#usernameedit', 'admin');
  await page.fill('#passwordedit', 'geheim');
  await b.submitBy('#signinbutton');
}

for (const [width, height] of [[1280, 800], [1920, 1080]]) {
  test(`every page fits its frame at ${width}x${height}`, async () => {
    const { page } = b;
    await page.setViewportSize({ width, height });
    await signIn();
    for (const [link, button] of PAGES) {
      await b.submitBy(`a.lnk:text-is("${link}")`);
      if (button && await page.isVisible(button)) await b.submitBy(button);
      const found = await page.evaluate(measure);
      assert.deepEqual(found, { spilled: [], narrowHeadings: [], pageScrolls: false }, link);
    }
  });
}

test('a chart of six hundred students keeps every label apart', async () => {
  const { page } = b;
  await page.setViewportSize({ width: 1280, height: 800 });
  await signIn();
  await b.submitBy('a.lnk:text-is("【图表统计】")');
  await page.selectOption('#groupingbox', { label: '学生' });
  await b.submitBy('#analysebutton');
  const labels = await page.$$eval('.iw-chart svg text.iw-bar-label', (texts) =>
    texts.filter((t) => t.getAttribute('text-anchor') === 'end')
      .map((t) => { const r = t.getBoundingClientRect(); return [r.top, r.bottom]; }));
  assert.ok(labels.length >= 590, `${labels.length} labels`);
  for (let i = 1; i < labels.length; ++i) {
    assert.ok(labels[i][0] >= labels[i - 1][1] - 0.5, `label ${i} overlaps the one before`);
  }
  const found = await page.evaluate(measure);
  assert.deepEqual(found.spilled, []);
});
